#pragma once

#include "KoravelProject.h"
#include "Markup.h"
#include "PLCFactory.h"

#include <QByteArray>
#include <QString>

// The shipped catalog, read from its source.
const CPLCFactory& ShippedCatalog();
// The compact PLC of the shipped catalog: bits M, X, Y, ...; 16-bit registers D, TN, CN.
const CPLCEntity* CompactPLC();
// A catalog whose PLC 1 has registers of one ("B"), two ("W") and four ("L") units, bits X
// (read only) and Y, and alarm bits A.
const CPLCFactory& UnitCatalog();
const CPLCEntity* UnitPLC();

// A document of `body` under a root, with the cursor on the root's first child element, as
// an element's reader gets it.
QString Document(const QString& body);

// The saved text of `project` (fixed date) and the project read back from it.
QString SavedText(const CKoravelProject& project);
bool LoadText(CKoravelProject& project, const QString& text, QStringList* messages = nullptr);

// The line of `text` that holds the first element named `tag`, "" when there is none.
QString LineOf(const QString& text, const QString& tag);

// A temporary folder for one test.
QString TempPath(const QString& name);
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray Scrambled(QByteArray bytes);
