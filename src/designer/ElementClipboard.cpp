#include "ElementClipboard.h"

#include "GEPicture.h"
#include "HMIFrame.h"
#include "Markup.h"
#include "XmlValue.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace {

// Hexadecimal pixel text of a full project's pictures is far below this; more is not ours.
constexpr qsizetype kMaxClipboardBytes = 256 * 1024 * 1024;

} // namespace

QString ElementsXml(const CHMIFrame& frame, const QList<CGraphBase*>& elements) {
    CMarkup xml;
    xml.AppendElement(u"Parts");
    for (const auto& part : frame.m_Parts) {
        if (!elements.contains(part.get()))
            continue;
        xml.EnterElement();
        xml.AppendElement(u"Part");
        part->SaveXml(xml, {});
        xml.LeaveElement();
    }
    return xml.GetDocumentText();
}

std::vector<std::unique_ptr<CGraphBase>> ElementsFromXml(const QString& text,
                                                         const CPLCEntity* plc) {
    std::vector<std::unique_ptr<CGraphBase>> elements;
    CMarkup xml;
    if (!xml.SetDocumentText(text) || !xml.NextElement(u"Parts"))
        return elements;
    qsizetype pictureBytesLeft = CGEPicture::kProjectPixelBudget;
    while (xml.NextChild(u"Part")) {
        std::unique_ptr<CGraphBase> element =
            CGraphBase::CreateByType(ParseDecimal32(xml.ChildAttribute(u"ID")), plc);
        if (!element)
            continue;
        xml.EnterElement();
        const bool read = element->LoadXml(xml, plc);
        xml.LeaveElement();
        if (!read)
            continue;
        if (element->m_nTypeCode == kTypePicture) {
            const qsizetype size = static_cast<const CGEPicture&>(*element).PixelData().size();
            if (size > pictureBytesLeft)
                continue;
            pictureBytesLeft -= size;
        }
        element->RebindAddresses(plc);
        elements.push_back(std::move(element));
    }
    return elements;
}

void PutElementsOnClipboard(const CHMIFrame& frame, const QList<CGraphBase*>& elements) {
    const QString text = ElementsXml(frame, elements);
    auto* data = new QMimeData;
    data->setData(kElementsMimeType, text.toUtf8());
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

bool ClipboardHasElements() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(kElementsMimeType);
}

std::vector<std::unique_ptr<CGraphBase>> ElementsOnClipboard(const CPLCEntity* plc) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kElementsMimeType))
        return {};
    const QByteArray bytes = data->data(kElementsMimeType);
    if (bytes.size() > kMaxClipboardBytes)
        return {};
    return ElementsFromXml(QString::fromUtf8(bytes), plc);
}
