#pragma once

#include "CheckFinding.h"

#include <QString>

#include <vector>

class CKoravelProject;

// A text the panel shows in a font of its own: a static text, an entry in use of a dynamic
// text, an alarm text in use.
struct PanelText {
    FindingPlace place;
    QString label; // "" for a static text, "条目 3" or "报警 2" for an entry of a list
    QString text;
    QString face;
    int size = 0; // as the element states it
};

// Every text of the project, frames in list order and elements in frame order, then the alarms.
std::vector<PanelText> PanelTexts(const CKoravelProject& project);

// The pixel size of the glyphs the panel draws for `size`: one of its eight sizes, 16 for any
// other.
int PanelGlyphSize(int size);

// Width in pixels of `text` on the panel at `size`: its glyphs side by side, a half-width glyph
// for every code unit below 128, a full-width one for every other, within the 255 text bytes
// the records hold.
int PanelTextWidth(const QString& text, int size);

// `label` and `message` joined for a finding: "条目 3：…", or the message alone.
QString Labelled(const QString& label, const QString& message);
