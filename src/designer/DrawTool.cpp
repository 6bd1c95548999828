#include "DrawTool.h"

#include "GEPicture.h"
#include "GEStaticTxt.h"
#include "KoravelDoc.h"
#include "KoravelWnd.h"
#include "commands/ElementCommands.h"

namespace {

// The size of a text in the default outline: 16 pixels a count, a wide character counting 2,
// and 32 pixels high.
QSize TextSize(const QString& text) {
    int count = 0;
    for (const QChar c : text)
        count += c.unicode() > 127 ? 2 : 1;
    return QSize(16 * count, 32);
}

} // namespace

CDrawTool::CDrawTool() = default;
CDrawTool::~CDrawTool() = default;

QSize CDrawTool::DefaultOutline(int typeCode) {
    switch (typeCode) {
    case kTypeStaticText:
        return TextSize(CGEStaticTxt::DefaultCaption());
    case kTypeRegister:
        return QSize(80, 32);
    case kTypeIndicator:
    case kTypeFunctionKey:
        return QSize(32, 32);
    case kTypeBar:
        return QSize(32, 128);
    case kTypeTrend:
        return QSize(192, 96);
    case kTypeDynamicText:
        return TextSize(QStringLiteral("动态文字串"));
    default:
        return {};
    }
}

void CDrawTool::Arm(int typeCode, std::unique_ptr<CGEPicture> picture) {
    m_nKind = typeCode;
    m_pPicture = std::move(picture);
    m_bCreated = false;
}

void CDrawTool::Disarm() {
    m_pPicture.reset();
    m_bCreated = false;
}

std::unique_ptr<CGraphBase> CDrawTool::NewElement(const QRect& rect, const CPLCEntity* plc) const {
    std::unique_ptr<CGraphBase> element =
        m_nKind == kTypePicture ? m_pPicture->Clone() : CGraphBase::CreateByType(m_nKind, plc);
    element->SetRect(rect);
    if (m_nKind == kTypeStaticText)
        static_cast<CGEStaticTxt&>(*element).m_strText = CGEStaticTxt::DefaultCaption();
    return element;
}

void CDrawTool::OnMouseMove(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) {
    if (!wnd.m_bOutlineVisible) {
        wnd.setCursor(Qt::ArrowCursor);
        return;
    }
    wnd.setCursor(Qt::SizeAllCursor);
    const QRect moved = ShiftInside(QRect(point, wnd.m_outline.size()));
    wnd.m_outline = wnd.SnapOutline(moved, {}, keys);
    wnd.update();
}

void CDrawTool::OnLButtonDown(CKoravelWnd& wnd, QPoint point, Qt::KeyboardModifiers keys) {
    // The outline comes to the click first, as a move to it would have put it.
    OnMouseMove(wnd, point, keys);
    CHMIFrame* frame = wnd.Frame();
    if (!frame || wnd.m_outline.isEmpty() || (m_nKind == kTypePicture && !m_pPicture)) {
        wnd.EndTool();
        return;
    }
    if (m_nKind == kTypeTrend && frame->CountTrends() > 3) {
        wnd.EndTool();
        wnd.Message(kTooManyTrendsMessage);
        return;
    }
    m_bCreated = true;
    CKoravelDoc& doc = wnd.m_doc;
    std::vector<std::unique_ptr<CGraphBase>> created;
    created.push_back(NewElement(wnd.m_outline, doc.Project().m_pCurrentPLC));
    doc.Push(new CmdAddElements(doc, frame, std::move(created), CmdAddElements::Select::Added,
                                QStringLiteral("放置元件")));
}

void CDrawTool::OnLButtonUp(CKoravelWnd& wnd, QPoint, Qt::KeyboardModifiers) {
    if (m_bCreated)
        Disarm();
    wnd.EndTool();
}
