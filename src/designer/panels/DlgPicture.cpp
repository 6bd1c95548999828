#include "DlgPicture.h"

#include "PanelParts.h"
#include "PositionGroup.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// A read-only pair of sizes under `caption`.
QGroupBox* SizeBox(const QString& caption, QLabel* width, QLabel* height) {
    auto* box = new QGroupBox(caption);
    QFormLayout* form = NewFormLayout(box);
    form->addRow(QStringLiteral("宽:"), width);
    form->addRow(QStringLiteral("高:"), height);
    return box;
}

} // namespace

DlgPicture::DlgPicture(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("图片属性"), kTypePicture),
      m_pWidth(NewLabel({}, QStringLiteral("width"))),
      m_pHeight(NewLabel({}, QStringLiteral("height"))),
      m_pBitmapWidth(NewLabel({}, QStringLiteral("bitmapWidth"))),
      m_pBitmapHeight(NewLabel({}, QStringLiteral("bitmapHeight"))) {
    setObjectName(QStringLiteral("picturePanel"));
    auto* note = new QGroupBox(QStringLiteral("提醒"));
    auto* noteLayout = new QVBoxLayout(note);
    auto* text = new QLabel(QStringLiteral("只能打开位图(BMP)文件！屏幕大小192X64像素。"));
    text->setWordWrap(true);
    noteLayout->addWidget(text);

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(SizeBox(QStringLiteral("尺寸"), m_pWidth, m_pHeight));
    column->addWidget(SizeBox(QStringLiteral("位图原始尺寸"), m_pBitmapWidth, m_pBitmapHeight));
    column->addWidget(note);
    column->addStretch(1);
}

void DlgPicture::ShowValues() {
    const CGEPicture& picture = Bound();
    m_pWidth->setText(QString::number(picture.m_nWidth));
    m_pHeight->setText(QString::number(picture.m_nHeight));
    m_pBitmapWidth->setText(QString::number(picture.BitmapWidth()));
    m_pBitmapHeight->setText(QString::number(picture.BitmapHeight()));
}
