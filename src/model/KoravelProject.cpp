#include "KoravelProject.h"

#include "AtomicFile.h"
#include "GEPicture.h"
#include "GEStaticTxt.h"
#include "Markup.h"
#include "PLCFactory.h"
#include "Scramble.h"
#include "XmlValue.h"

#include <algorithm>

CKoravelProject::CKoravelProject() = default;

CKoravelProject::~CKoravelProject() = default;

std::unique_ptr<CKoravelProject> CKoravelProject::Copy() const {
    auto copy = std::make_unique<CKoravelProject>();
    if (m_pSetting)
        copy->m_pSetting = std::make_unique<CKoravelSetting>(*m_pSetting);
    copy->m_CommPara = m_CommPara;
    for (const auto& frame : m_Frames) {
        // Element by element in the same order: the copy's positions are the original's.
        auto clone = std::make_unique<CHMIFrame>();
        for (const auto& part : frame->m_Parts)
            clone->m_Parts.push_back(part->ExactCopy());
        clone->m_strDesc = frame->m_strDesc;
        clone->m_nListOrder = frame->m_nListOrder;
        clone->m_strName = frame->m_strName;
        clone->m_nPrevID = frame->m_nPrevID;
        clone->m_nNextID = frame->m_nNextID;
        clone->m_nID = frame->m_nID;
        clone->m_nBkColor = frame->m_nBkColor;
        if (frame.get() == m_pCurrentFrame)
            copy->m_pCurrentFrame = clone.get();
        copy->m_Frames.push_back(std::move(clone));
    }
    copy->m_nFrameCounter = m_nFrameCounter;
    if (m_pAlarmList)
        copy->m_pAlarmList = std::make_unique<CAlarmList>(*m_pAlarmList);
    copy->m_pCurrentPLC = m_pCurrentPLC;
    copy->m_strSoftVersion = m_strSoftVersion;
    copy->m_strCatalogVersion = m_strCatalogVersion;
    copy->m_Annotations = m_Annotations;
    return copy;
}

void CKoravelProject::Clear() {
    while (!m_Frames.empty())
        m_Frames.pop_back();
    m_nFrameCounter = 1;
    m_pCurrentFrame = nullptr;
    m_pSetting.reset();
    m_pAlarmList.reset();
}

CHMIFrame* CKoravelProject::InsertFrame(std::unique_ptr<CHMIFrame> frame, QString* message) {
    if (FrameNamed(frame->m_strName)) {
        if (message)
            *message = kFrameExistsMessage;
        return nullptr;
    }
    const auto position = std::find_if(m_Frames.begin(), m_Frames.end(), [&](const auto& other) {
        return other->m_nID > frame->m_nID;
    });
    CHMIFrame* inserted = frame.get();
    const auto index = position - m_Frames.begin();
    m_Frames.insert(position, std::move(frame));
    inserted->m_nListOrder = static_cast<std::uint16_t>(index);
    return inserted;
}

CHMIFrame* CKoravelProject::InsertFrameAt(int position, std::unique_ptr<CHMIFrame> frame) {
    CHMIFrame* inserted = frame.get();
    const auto at = std::clamp(position, 0, static_cast<int>(m_Frames.size()));
    m_Frames.insert(m_Frames.begin() + at, std::move(frame));
    return inserted;
}

std::unique_ptr<CHMIFrame> CKoravelProject::TakeFrame(int position) {
    if (position < 0 || position >= static_cast<int>(m_Frames.size()))
        return nullptr;
    const auto index = static_cast<std::size_t>(position);
    if (m_Frames[index].get() == m_pCurrentFrame) {
        if (index > 0)
            m_pCurrentFrame = m_Frames[index - 1].get();
        else if (index + 1 < m_Frames.size())
            m_pCurrentFrame = m_Frames[index + 1].get();
        else
            m_pCurrentFrame = nullptr;
    }
    std::unique_ptr<CHMIFrame> taken = std::move(m_Frames[index]);
    m_Frames.erase(m_Frames.begin() + position);
    return taken;
}

int CKoravelProject::PositionOf(const CHMIFrame* frame) const {
    for (std::size_t i = 0; i < m_Frames.size(); ++i) {
        if (m_Frames[i].get() == frame)
            return static_cast<int>(i);
    }
    return -1;
}

CHMIFrame* CKoravelProject::FindFrame(std::uint16_t id) const {
    for (const auto& frame : m_Frames) {
        if (frame->m_nID == id)
            return frame.get();
    }
    return nullptr;
}

CHMIFrame* CKoravelProject::FrameNamed(const QString& name) const {
    for (const auto& frame : m_Frames) {
        if (frame->m_strName.compare(name, Qt::CaseInsensitive) == 0)
            return frame.get();
    }
    return nullptr;
}

std::uint16_t CKoravelProject::TakeFrameNumber() {
    return m_nFrameCounter++;
}

CHMIFrame* CKoravelProject::NewFrame(int number, const QString& desc, QString* message) {
    auto frame = std::make_unique<CHMIFrame>();
    frame->m_strName = QString::number(number);
    frame->m_nID = static_cast<std::uint16_t>(number);
    frame->m_nNextID = number + 1;
    frame->m_nPrevID = number - 1;
    frame->m_strDesc = desc;
    CHMIFrame* inserted = InsertFrame(std::move(frame), message);
    if (inserted)
        m_pCurrentFrame = inserted;
    return inserted;
}

CHMIFrame* CKoravelProject::CreateDefaultFrame() {
    return NewFrame(TakeFrameNumber(), {});
}

CHMIFrame* CKoravelProject::CopyFrame(const CHMIFrame& source, int number, QString* message) {
    std::unique_ptr<CHMIFrame> copy = source.CloneFrame();
    copy->m_nID = static_cast<std::uint16_t>(number);
    copy->m_strName = QString::number(number);
    copy->m_nNextID = number + 1;
    copy->m_nPrevID = source.m_nID;
    copy->m_nBkColor = source.m_nBkColor;
    CHMIFrame* inserted = InsertFrame(std::move(copy), message);
    if (inserted)
        m_pCurrentFrame = inserted;
    return inserted;
}

std::vector<std::unique_ptr<CHMIFrame>>
CKoravelProject::DeleteFrames(const std::vector<CHMIFrame*>& frames) {
    std::vector<int> positions;
    for (CHMIFrame* frame : frames) {
        const int position = PositionOf(frame);
        if (position >= 0 &&
            std::find(positions.begin(), positions.end(), position) == positions.end())
            positions.push_back(position);
    }
    std::vector<std::unique_ptr<CHMIFrame>> taken;
    if (positions.empty())
        return taken;
    std::sort(positions.begin(), positions.end());
    const auto first = static_cast<std::size_t>(positions.front());
    const auto last = static_cast<std::size_t>(positions.back());
    CHMIFrame* before = first > 0 ? m_Frames[first - 1].get() : nullptr;
    CHMIFrame* after = last + 1 < m_Frames.size() ? m_Frames[last + 1].get() : nullptr;
    // From the back, so that the positions still to take stay valid.
    for (auto it = positions.rbegin(); it != positions.rend(); ++it)
        taken.push_back(TakeFrame(*it));
    std::reverse(taken.begin(), taken.end());
    m_pCurrentFrame = before ? before : after;
    if (m_Frames.empty()) {
        m_nFrameCounter = 1;
        CreateDefaultFrame();
    }
    return taken;
}

int CKoravelProject::HighestFrameNumber() const {
    int highest = 1;
    for (const auto& frame : m_Frames)
        highest = std::max(highest, static_cast<int>(frame->m_nID));
    return highest;
}

CGraphBase* CKoravelProject::CreateElement(int typeCode, const QRect& rect,
                                           const QString& pictureFile, QString* message) {
    if (!m_pCurrentFrame || rect.isEmpty())
        return nullptr;
    if (typeCode == kTypeTrend && m_pCurrentFrame->CountTrends() > 3) {
        if (message)
            *message = kTooManyTrendsMessage;
        return nullptr;
    }
    std::unique_ptr<CGraphBase> element = CGraphBase::CreateByType(typeCode, m_pCurrentPLC);
    if (!element)
        return nullptr;
    element->SetRect(rect);
    if (typeCode == kTypeStaticText)
        static_cast<CGEStaticTxt&>(*element).m_strText = CGEStaticTxt::DefaultCaption();
    if (typeCode == kTypePicture && !static_cast<CGEPicture&>(*element).LoadBitmapFile(pictureFile))
        return nullptr;
    return m_pCurrentFrame->AddElement(std::move(element));
}

void CKoravelProject::RebindAll() {
    for (const auto& frame : m_Frames) {
        for (const auto& part : frame->m_Parts)
            part->RebindAddresses(m_pCurrentPLC);
    }
}

CKoravelSetting& CKoravelProject::EnsureSetting() {
    if (!m_pSetting)
        m_pSetting = std::make_unique<CKoravelSetting>(m_pCurrentPLC);
    return *m_pSetting;
}

CAlarmList& CKoravelProject::EnsureAlarmList() {
    if (!m_pAlarmList)
        m_pAlarmList = std::make_unique<CAlarmList>(m_pCurrentPLC);
    return *m_pAlarmList;
}

QString CKoravelProject::SaveXmlText(const QDateTime& when) const {
    CMarkup xml;
    xml.SetDocumentText(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    xml.AppendElement(u"KoravelProject");
    xml.SetAttribute(u"PLCID", m_pCurrentPLC ? m_pCurrentPLC->GetProtocolID() : 0);
    xml.SetAttribute(u"PLCName", m_pCurrentPLC ? m_pCurrentPLC->GetName() : QString());
    xml.SetAttribute(u"SoftVersion", m_strCatalogVersion);
    xml.SetAttribute(u"Date", when.toString(QStringLiteral("yyyy-MM-dd")));
    xml.SetAttribute(u"Time", when.toString(QStringLiteral("HH:mm:ss")));

    xml.EnterElement();
    xml.AppendElement(u"CommParameter");
    m_CommPara.SaveXml(xml);
    xml.LeaveElement();
    if (m_pSetting) {
        xml.EnterElement();
        xml.AppendElement(u"GlobalSetting");
        m_pSetting->SaveXml(xml);
        xml.LeaveElement();
    }
    if (m_pAlarmList) {
        xml.EnterElement();
        xml.AppendElement(u"AlarmList");
        m_pAlarmList->SaveXml(xml);
        xml.LeaveElement();
    }
    xml.EnterElement();
    xml.AppendElement(u"Frames");
    for (const auto& frame : m_Frames)
        frame->SaveXml(xml, m_Annotations);
    xml.LeaveElement();
    return xml.GetDocumentText();
}

bool CKoravelProject::Save(const QString& path, QString* error, const QDateTime& when) const {
    QByteArray bytes = CMarkup::EncodeUtf8(SaveXmlText(when));
    XorScramble(bytes);
    return WriteFileAtomically(path, bytes, error);
}

bool CKoravelProject::SavePlain(const QString& path, QString* error, const QDateTime& when) const {
    return WriteFileAtomically(path, CMarkup::EncodeUtf8(SaveXmlText(when)), error);
}

bool CKoravelProject::Load(const QString& path, const CPLCFactory& catalog, QStringList& messages) {
    QByteArray bytes;
    QString error;
    if (!ReadWholeFile(path, bytes, &error) || bytes.isEmpty()) {
        m_strLoadFailure = error.isEmpty() ? QStringLiteral("empty file") : error;
        messages.append(kDamagedFileMessage);
        return false;
    }
    bool wasPlain = false;
    if (!LoadBytes(bytes, catalog, messages, &wasPlain))
        return false;
    // A plain file that opened is kept scrambled from now on. The rewrite is atomic, so a
    // failure (a full disk) leaves the plain file as it was, which still opens.
    if (wasPlain) {
        XorScramble(bytes);
        WriteFileAtomically(path, bytes);
    }
    return true;
}

bool CKoravelProject::LoadBytes(const QByteArray& bytes, const CPLCFactory& catalog,
                                QStringList& messages, bool* wasPlain) {
    m_strLoadFailure.clear();
    if (bytes.isEmpty()) {
        m_strLoadFailure = QStringLiteral("empty file");
        messages.append(kDamagedFileMessage);
        return false;
    }
    // The file is unscrambled in memory only, so a failed load never changes it.
    CMarkup xml;
    const bool plain = xml.SetDocumentText(
        CMarkup::DecodeUtf8(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!plain) {
        // Report the parser's words for the form the file was written in: a damaged plain
        // file starts with '<', a damaged scrambled one with '<' ^ 0x6B.
        const QString plainFailure = xml.GetResult();
        QByteArray unscrambled = bytes;
        XorScramble(unscrambled);
        if (!xml.SetDocumentText(CMarkup::DecodeUtf8(
                unscrambled.constData(), static_cast<std::size_t>(unscrambled.size())))) {
            m_strLoadFailure = bytes.startsWith('<') ? plainFailure : xml.GetResult();
            return false;
        }
    }
    if (wasPlain)
        *wasPlain = plain;
    return ReadDocument(xml, catalog, messages);
}

bool CKoravelProject::ReadDocument(CMarkup& xml, const CPLCFactory& catalog,
                                   QStringList& messages) {
    if (!xml.NextElement(u"KoravelProject")) {
        m_strLoadFailure = QStringLiteral("no KoravelProject root element");
        return false;
    }
    m_strSoftVersion = xml.Attribute(u"SoftVersion");
    m_strCatalogVersion = catalog.GetSoftVersion();
    // A PLC the catalog does not know falls back to the first one, as the driver settings do.
    const auto id = static_cast<std::uint16_t>(ParseDecimal64(xml.Attribute(u"PLCID")));
    m_pCurrentPLC = catalog.GetPLC(id);
    if (!m_pCurrentPLC)
        m_pCurrentPLC = catalog.GetPLC(1);
    Clear();
    if (!ReadProject(xml, messages)) {
        m_strLoadFailure = QStringLiteral("no Frames element");
        return false;
    }
    if (m_Frames.empty()) {
        m_strLoadFailure = QStringLiteral("no frame could be read");
        return false;
    }
    m_pCurrentFrame = m_Frames.front().get();
    return true;
}

bool CKoravelProject::ReadProject(CMarkup& xml, QStringList& messages) {
    if (xml.NextChild(u"CommParameter")) {
        xml.EnterElement();
        m_CommPara.LoadXml(xml);
        xml.LeaveElement();
    }
    if (xml.NextChild(u"GlobalSetting")) {
        m_pSetting = std::make_unique<CKoravelSetting>(m_pCurrentPLC);
        xml.EnterElement();
        m_pSetting->LoadXml(xml, m_pCurrentPLC);
        xml.LeaveElement();
    }
    if (xml.NextChild(u"AlarmList")) {
        m_pAlarmList = std::make_unique<CAlarmList>(m_pCurrentPLC);
        xml.EnterElement();
        m_pAlarmList->LoadXml(xml, m_pCurrentPLC);
        xml.LeaveElement();
    }
    if (!xml.NextChild(u"Frames"))
        return false;
    xml.EnterElement();
    qsizetype pictureBytesLeft = CGEPicture::kProjectPixelBudget;
    while (xml.NextChild(u"Frame")) {
        auto frame = std::make_unique<CHMIFrame>();
        ++m_nFrameCounter;
        if (!frame->LoadXml(xml, m_pCurrentPLC, pictureBytesLeft))
            continue;
        QString message;
        if (!InsertFrame(std::move(frame), &message))
            messages.append(message);
    }
    xml.LeaveElement();
    return true;
}
