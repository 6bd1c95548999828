#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class CGraphBase;
class CHMIFrame;
class CPLCEntity;

// Elements on the system clipboard, between frames and between designers: their `Part`
// elements as the project file stores them, inside one `Parts`, under a type of our own and
// as plain text.
inline const QString kElementsMimeType = QStringLiteral("application/x-kv250-elements+xml");

// The elements of `frame` in its drawing order, as the clipboard carries them.
QString ElementsXml(const CHMIFrame& frame, const QList<CGraphBase*>& elements);
// The elements of such a text, bound to `plc`; none for a text that holds no elements. A
// picture that no longer fits the pixels a project may hold is left out.
std::vector<std::unique_ptr<CGraphBase>> ElementsFromXml(const QString& xml, const CPLCEntity* plc);

void PutElementsOnClipboard(const CHMIFrame& frame, const QList<CGraphBase*>& elements);
bool ClipboardHasElements();
std::vector<std::unique_ptr<CGraphBase>> ElementsOnClipboard(const CPLCEntity* plc);
