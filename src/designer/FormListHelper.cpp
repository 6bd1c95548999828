#include "FormListHelper.h"

#include "FormListControl.h"
#include "KoravelDoc.h"

CFormListHelper::CFormListHelper(CKoravelDoc& doc, CFormListControl& list, QObject* parent)
    : QObject(parent) {
    connect(&doc, &CKoravelDoc::projectReset, &list, &CFormListControl::Rebuild);
    connect(&doc, &CKoravelDoc::framesChanged, &list, &CFormListControl::Rebuild);
    connect(&doc, &CKoravelDoc::frameDescriptionChanged, &list,
            &CFormListControl::UpdateDescription);
    // A frame made current elsewhere (the usage table, undo) shows its row.
    connect(&doc, &CKoravelDoc::frameShown, &list,
            [&list](CHMIFrame* frame) { list.SelectFrameRow(frame); });
}
