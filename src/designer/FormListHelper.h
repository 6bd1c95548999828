#pragma once

#include <QObject>

class CFormListControl;
class CKoravelDoc;

// Keeps the frame list in step with the document: rebuilt when frames come and go or another
// project opens, one description updated in place when a frame's description changes.
class CFormListHelper : public QObject {
    Q_OBJECT

public:
    CFormListHelper(CKoravelDoc& doc, CFormListControl& list, QObject* parent = nullptr);
};
