#include "FontGroup.h"

#include "TextFont.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QStringList OfferedFaces() {
    QStringList faces = QFont::substitutions();
    for (const QString& face : GB2312FaceNames()) {
        if (!faces.contains(face))
            faces.append(face);
    }
    return faces;
}

} // namespace

CFontGroup::CFontGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("字体"), parent), m_pFace(new QComboBox), m_pSize(new QComboBox),
      m_faces(OfferedFaces()) {
    m_pFace->setObjectName(QStringLiteral("fontFace"));
    m_pSize->setObjectName(QStringLiteral("fontSize"));
    m_pFace->addItems(m_faces);
    // Long face names must not widen the panel.
    m_pFace->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pFace->setMinimumContentsLength(10);
    for (const int size : FontSizes())
        m_pSize->addItem(FontSizeText(size), size);
    // Face and size on one row keep the longest panels within the window's height.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(6);
    row->addWidget(new QLabel(QStringLiteral("字体：")));
    row->addWidget(m_pFace, 1);
    row->addSpacing(4);
    row->addWidget(new QLabel(QStringLiteral("字号:")));
    row->addWidget(m_pSize);
    connect(m_pFace, &QComboBox::activated, this,
            [this](int index) { emit FaceChosen(m_pFace->itemText(index)); });
    connect(m_pSize, &QComboBox::activated, this,
            [this](int index) { emit SizeChosen(m_pSize->itemData(index).toInt()); });
}

void CFontGroup::Show(const QString& face, int size) {
    auto index = m_faceIndexes.constFind(face);
    if (index == m_faceIndexes.constEnd())
        index = m_faceIndexes.insert(face, FaceIndexForName(m_faces, face));
    m_pFace->setCurrentIndex(*index);
    m_pSize->setCurrentIndex(std::max(0, m_pSize->findData(size)));
}
