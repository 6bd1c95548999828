#pragma once

#include "TextElement.h"

#include <QString>

// A fixed caption. Its rectangle always follows its text.
class CGEStaticTxt : public CTextElement {
public:
    CGEStaticTxt();

    // The caption a text drawn with the tool starts with.
    static QString DefaultCaption();

    void SetText(const QString& text);
    // Width and Height become the extent of one line of the text in its font.
    void RecalcSize() override;

    void Draw(QPainter& painter) const override;
    std::unique_ptr<CGraphBase> Clone() const override;
    std::unique_ptr<CGraphBase> ExactCopy() const override;
    bool LoadXml(CMarkup& xml, const CPLCEntity* plc) override;
    bool SaveXml(CMarkup& xml, const QString& labelName) const override;

    QString m_strText;
};
