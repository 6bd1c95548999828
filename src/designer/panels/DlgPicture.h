#pragma once

#include "ElementPanel.h"
#include "GEPicture.h"

class QLabel;

// "图片属性": a picture's position; its size and the size of its bitmap are shown only.
class DlgPicture : public CKindPanel<CGEPicture> {
public:
    explicit DlgPicture(CKoravelDoc& doc);

private:
    void ShowValues() override;

    QLabel* m_pWidth;
    QLabel* m_pHeight;
    QLabel* m_pBitmapWidth;
    QLabel* m_pBitmapHeight;
};
