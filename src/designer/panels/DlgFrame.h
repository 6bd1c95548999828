#pragma once

#include "PanelParts.h"

#include <QGroupBox>

#include <functional>

class CColorButton;
class CHMIFrame;
class CKoravelDoc;
class QPlainTextEdit;
struct FrameProperties;

// "画面属性": the current frame's number, description, the frames its up and down keys lead
// to, and its background colour. Every edit is one command on the document's stack.
class DlgFrame : public QGroupBox {
public:
    explicit DlgFrame(CKoravelDoc& doc);

    CHMIFrame* Frame() const { return m_pFrame; }
    // Binds the panel to `frame` (null unbinds it) and shows its values.
    void Bind(CHMIFrame* frame);
    void Refresh();

private:
    void OnNumber();
    void OnDescription();
    void Change(const QString& property, const std::function<void(FrameProperties&)>& set);

    CKoravelDoc& m_doc;
    CHMIFrame* m_pFrame = nullptr;
    CNumEditCtrl* m_pNumber;
    QPlainTextEdit* m_pDesc;
    NumberField m_prev;
    NumberField m_next;
    CColorButton* m_pBkColor;
    bool m_bShowing = false;
};
