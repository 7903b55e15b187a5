#include "tables/cellkeys.h"

#include "tables/keydigits.h"

TCellRule CellKeyRule(TableId id, int col)
{
    using R = CellRule;
    switch (id) {
    case TableId::Operators:
        switch (col) {
        case 1: return {R::Text, 24};
        case 2: return {R::Text, 40};
        case 3: return {R::Digits, 4};
        case 4: return {R::Digits, 12};
        }
        break;
    case TableId::Goods:
        switch (col) {
        case 1: return {R::Text, 40};
        case 2: return {R::Digits, 13};
        case 3: return {R::ListOnly, 0};
        case 4: return {R::Price, 10};
        case 5: return {R::Digits, 1};
        case 6: return {R::Quantity, 8};
        }
        break;
    case TableId::Sections:
        switch (col) {
        case 1: return {R::Text, 24};
        case 2:
        case 3:
        case 4: return {R::ListOnly, 0};
        case 5: return {R::Digits, 1};
        }
        break;
    case TableId::Cliche:
        if (col == 1)
            return {R::Text, 24};
        break;
    case TableId::Agents:
        switch (col) {
        case 1: return {R::ListOnly, 0};
        case 2:
        case 3:
        case 4:
        case 10: return {R::Phone, 16};
        case 5:
        case 6:
        case 8: return {R::Text, 48};
        case 7:
        case 11: return {R::Digits, 12};
        case 9: return {R::Text, 24};
        }
        break;
    case TableId::Enterprises:
        if (col == 1)
            return {R::Text, 48};
        if (col == 2)
            return {R::Digits, 12};
        break;
    case TableId::Stations:
        if (col == 1)
            return {R::Text, 40};
        break;
    case TableId::Module:
        break;  // typed through its own frame's row rules (GsmKeyAllowed)
    }
    return {R::Fixed, 0};
}

TKeyOutcome CellKeyPress(TableId id, int col, const TCellEditState& state, QChar key)
{
    const TCellRule rule = CellKeyRule(id, col);
    const auto passIf = [](bool pass) { return TKeyOutcome{pass ? KeyAction::Pass : KeyAction::Swallow, {}}; };
    switch (rule.kind) {
    case CellRule::Fixed:
    case CellRule::ListOnly:
        return passIf(false);
    case CellRule::Text:
        return passIf(KeyPressText(state.text, key, rule.limit));
    case CellRule::Digits:
        return passIf(KeyPressDigits(state.text, state.selLength > 0, key, rule.limit));
    case CellRule::Phone:
        return {KeyAction::Replace, KeyPressPhone(state, key, rule.limit)};
    case CellRule::Price:
    case CellRule::Quantity: {
        // A cell too short to hold its form starts from zero before the key applies.
        const bool price = rule.kind == CellRule::Price;
        TCellEditState start = state;
        if (start.text.size() < (price ? 4 : 5))
            start = {price ? QStringLiteral("0.00") : QStringLiteral("0.000"), 0, 0};
        TCellEditState next = price ? KeyPressPrice(start, key, rule.limit) : KeyPressQuantity(start, key, rule.limit);
        return {KeyAction::Replace, next};
    }
    }
    return passIf(false);
}

bool SwallowsDelete(TableId id)
{
    return id == TableId::Goods || id == TableId::Agents;
}
