#include "files/configgrids.h"

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

void GridsToConfig(const TKktRegister& reg, TConfig& config)
{
    const TGridData& module = reg.Grid(TableId::Module);
    for (int i = 0; i < int(config.Gsm.arrParam.size()); ++i)
        config.Gsm.arrParam[i] = module.Cell(1, i + 1);
    ForEachTableField(config.CfgVaro, [&](TableId table, int col, int row, QString& field) {
        const TGridData& grid = reg.Grid(table);
        if (grid.Contains(col, row))
            field = grid.Cell(col, row);
    });
}

void ConfigToGrids(const TConfig& config, TKktRegister& reg)
{
    TGridData& module = reg.Grid(TableId::Module);
    for (int i = 0; i < int(config.Gsm.arrParam.size()); ++i)
        module.SetCell(1, i + 1, config.Gsm.arrParam[i]);
    ForEachTableField(config.CfgVaro, [&](TableId table, int col, int row, const QString& field) {
        TGridData& grid = reg.Grid(table);
        if (grid.Contains(col, row))
            grid.SetCell(col, row, field);
    });
}
