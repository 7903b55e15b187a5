#pragma once
#include "tables/celleditors.h"
#include "tables/tabledefs.h"

// How the cells of a column take keys.
enum class CellRule { Fixed, Text, Digits, Phone, Price, Quantity, ListOnly };

struct TCellRule {
    CellRule kind = CellRule::Fixed;
    int limit = 0;
};

TCellRule CellKeyRule(TableId id, int col);

// What the in-place editor does with a key: pass it on unchanged, swallow it, or take the new state.
enum class KeyAction { Pass, Swallow, Replace };

struct TKeyOutcome {
    KeyAction action = KeyAction::Swallow;
    TCellEditState state;  // for Replace
};

// The key-press handler of every grid: applies the column's rule to one key typed into (col, row).
TKeyOutcome CellKeyPress(TableId id, int col, const TCellEditState& state, QChar key);

// Delete never erases text in the goods and agents grids (Backspace is the only way there).
bool SwallowsDelete(TableId id);
