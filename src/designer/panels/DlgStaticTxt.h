#pragma once

#include "ElementPanel.h"
#include "GEStaticTxt.h"

class QLineEdit;

// "静态文本属性": a caption's text, position, font, colours and background flag.
class DlgStaticTxt : public CKindPanel<CGEStaticTxt> {
public:
    explicit DlgStaticTxt(CKoravelDoc& doc);

private:
    void ShowValues() override;
    void OnText(const QString& text);

    QLineEdit* m_pText;
};
