#pragma once

#include <QImage>
#include <QWidget>

class CKoravelDoc;

// The canvas: the current frame painted into a panel-sized image with the model's own drawing
// code, so that what the user sees are the panel's pixels.
class CKoravelWnd : public QWidget {
    Q_OBJECT

public:
    explicit CKoravelWnd(CKoravelDoc& doc, QWidget* parent = nullptr);

    // The current frame as the panel shows it, with annotations and the selection's trackers.
    QImage Render() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CKoravelDoc& m_doc;
};
