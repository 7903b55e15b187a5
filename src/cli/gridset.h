#pragma once
#include "files/config.h"
#include "module/gsmgrid.h"
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"
#include "whole/registergrids.h"

#include <QByteArray>
#include <QString>
#include <array>

// The grids of the two work frames as after start-up, plus the configuration snapshot that keeps
// what a configuration file carries beyond the cells. Every file and register transfer of the tool
// goes through them, as in the windows.
struct TGridSet {
    TGridSet();

    TGridData& Table(TableId id) { return tables[size_t(id)]; }
    const TGridData& Table(TableId id) const { return tables[size_t(id)]; }
    // The grids for the whole-register runs and the workbook.
    TRegisterGrids Refs();

    std::array<TGridData, kTableCount> tables;
    TAgentLocks locks;
    GsmGridModel gsm;
    TConfig config;
};

// Table names of the command line, in tab order: operators, goods, sections, cliche, agents,
// enterprises, stations.
const QStringList& TableNames();
bool TableByName(const QString& name, TableId& id);

// File formats known by their name's ending (case ignored).
enum class TFileKind { Unknown, Csv, GoodsDb, Exchange1c, Sheet, Config };
TFileKind FileKindOf(const QString& fileName);
QString FileKindList();  // the endings, for messages

// Goods from a goods file of another format (.dbVaro, .1cdb, .xls, .xlsx) into the goods grid; the
// grid is untouched on failure. Empty on success, else the error.
QString LoadGoodsFile(const QString& fileName, TFileKind kind, TGridData& goods);
QString SaveGoodsFile(const QString& fileName, TFileKind kind, const TGridData& goods);

// The whole configuration file into every grid, and back.
QString LoadConfigInto(const QString& fileName, TGridSet& grids);
QString SaveConfigFrom(const QString& fileName, TGridSet& grids);
