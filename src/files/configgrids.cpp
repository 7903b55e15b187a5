#include "files/configgrids.h"

#include "module/gsmgrid.h"

namespace {

// visit(table, col, row, field) for every table field of the snapshot, by the positional rule.
template <class Varo, class Visit>
void ForEachTableField(Varo& v, Visit&& visit)
{
    auto each = [&](TableId table, auto& elements) {
        for (size_t i = 0; i < elements.size(); ++i) {
            const auto fields = Fields(elements[i]);
            for (size_t k = 0; k < fields.size(); ++k)
                visit(table, int(k) + 1, int(i) + 1, *fields[k]);
        }
    };
    each(TableId::Operators, v.Oper);
    each(TableId::Goods, v.PredmRasch);
    each(TableId::Sections, v.RpiznPredmRasch);
    each(TableId::Cliche, v.Klishe);
    each(TableId::Agents, v.Agent);
    each(TableId::Enterprises, v.Factory);
    each(TableId::Stations, v.Station);
}

}  // namespace

void GridsToConfig(const TConfigTables& tables, const GsmGridModel& gsm, TConfig& config)
{
    for (int i = 0; i < int(config.Gsm.arrParam.size()); ++i)
        config.Gsm.arrParam[i] = gsm.Value(i + 1);
    ForEachTableField(config.CfgVaro, [&](TableId table, int col, int row, QString& field) {
        const TGridData* grid = tables[int(table)];
        if (grid && grid->Contains(col, row))
            field = grid->Cell(col, row);
    });
}

void ConfigToGrids(const TConfig& config, const TConfigTablesMut& tables, GsmGridModel& gsm)
{
    for (int i = 0; i < int(config.Gsm.arrParam.size()); ++i)
        gsm.SetValue(i + 1, config.Gsm.arrParam[i]);
    ForEachTableField(config.CfgVaro, [&](TableId table, int col, int row, const QString& field) {
        TGridData* grid = tables[int(table)];
        if (grid && grid->Contains(col, row))
            grid->SetCell(col, row, field);
    });
}
