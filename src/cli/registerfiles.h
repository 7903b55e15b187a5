#pragma once
#include "files/config.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"
#include "whole/kktregister.h"

#include <QString>
#include <QStringList>

// Names of the register's parts on the command line, in order: operators, goods, sections, cliche,
// agents, enterprises, stations (the tables), module.
const QStringList& PartNames();
QString PartName(TableId id);
// The tables' names, the first kTableCount of them.
QStringList TableNames();
bool TableByName(const QString& name, TableId& id);

// File formats known by their name's ending (case ignored).
enum class TFileKind { Unknown, Csv, GoodsDb, Exchange1c, Sheet, Config };
TFileKind FileKindOf(const QString& fileName);
QString FileKindList();  // the endings, for messages

// Goods from a goods file of another format (.dbVaro, .1cdb, .xls, .xlsx) into the goods grid; the
// grid is untouched on failure. Empty on success, else the error.
QString LoadGoodsFile(const QString& fileName, TFileKind kind, TGridData& goods);
QString SaveGoodsFile(const QString& fileName, TFileKind kind, const TGridData& goods);

// The whole configuration file into every grid, and back; `config` keeps what the file carries beyond
// the cells.
QString LoadConfigInto(const QString& fileName, TKktRegister& reg, TConfig& config);
QString SaveConfigFrom(const QString& fileName, const TKktRegister& reg, TConfig& config);
