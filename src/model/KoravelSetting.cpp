#include "KoravelSetting.h"

#include "Markup.h"
#include "XmlValue.h"

CKoravelSetting::CKoravelSetting(const CPLCEntity* plc)
    : m_Reg(NewAddress(PLC_WORD, PLC_ANY, plc)) {}

QList<ControlRegister> CKoravelSetting::ControlRegisters() const {
    QList<ControlRegister> registers;
    const int step = AddrInc(m_Reg);
    int address = m_Reg.GetAddress();
    auto take = [&](ControlRegister::Use use) {
        registers.append({use, address});
        address += step;
    };
    if (m_bAutoChange)
        take(ControlRegister::kAutoChange);
    if (m_bReportFrame)
        take(ControlRegister::kReportFrame);
    if (m_bUseClock && m_bUseClockOld) {
        for (auto use : {ControlRegister::kSeconds, ControlRegister::kHourMinute,
                         ControlRegister::kMonthDay, ControlRegister::kYearWeekday})
            take(use);
    } else if (m_bUseClock) {
        for (auto use : {ControlRegister::kSeconds, ControlRegister::kMinutes,
                         ControlRegister::kHours, ControlRegister::kDay, ControlRegister::kMonth,
                         ControlRegister::kYear, ControlRegister::kWeekday})
            take(use);
    }
    return registers;
}

bool CKoravelSetting::SaveXml(CMarkup& xml) const {
    xml.SetAttribute(u"BeginFrame", m_nBeginFrame);
    xml.SetAttribute(u"PassWord", m_nPassWord);
    xml.SetAttribute(u"WaitTime", m_nWaitTime);
    xml.SetAttribute(u"SaverFrame", m_nSaverFrame);
    xml.SetAttribute(u"BackLight", BoolText(m_bBackLight));
    xml.SetAttribute(u"ReportFrame", BoolText(m_bReportFrame));
    xml.SetAttribute(u"AutoChange", BoolText(m_bAutoChange));
    xml.SetAttribute(u"UseClock", BoolText(m_bUseClock));
    xml.SetAttribute(u"UseClockOld", BoolText(m_bUseClockOld));
    xml.SetAttribute(u"CanOffline", BoolText(m_bCanOffline));
    xml.SetAttribute(u"UseFrame", BoolText(m_bUseFrame));
    xml.SetAttribute(u"UseFrameIndex", m_nUseFrameIndex);
    xml.SetAttribute(u"UseFrameSecond", m_nUseFrameSecond);
    xml.AppendChild(u"Reg");
    m_Reg.SaveXml(xml);
    return true;
}

bool CKoravelSetting::LoadXml(CMarkup& xml, const CPLCEntity* plc) {
    m_nBeginFrame = static_cast<std::uint16_t>(IntOr(xml.Attribute(u"BeginFrame"), 0));
    m_nPassWord = static_cast<std::uint16_t>(IntOr(xml.Attribute(u"PassWord"), 0));
    m_nWaitTime = IntOr(xml.Attribute(u"WaitTime"), 0);
    m_nSaverFrame = static_cast<std::uint16_t>(IntOr(xml.Attribute(u"SaverFrame"), 0));
    ReadBool(xml.Attribute(u"BackLight"), m_bBackLight);
    ReadBool(xml.Attribute(u"ReportFrame"), m_bReportFrame);
    ReadBool(xml.Attribute(u"AutoChange"), m_bAutoChange);
    ReadBool(xml.Attribute(u"UseClock"), m_bUseClock);
    ReadBool(xml.Attribute(u"UseClockOld"), m_bUseClockOld);
    ReadBool(xml.Attribute(u"UseFrame"), m_bUseFrame);
    ReadBool(xml.Attribute(u"CanOffline"), m_bCanOffline);
    m_nUseFrameIndex = static_cast<std::uint16_t>(IntOr(xml.Attribute(u"UseFrameIndex"), 0));
    m_nUseFrameSecond = IntOr(xml.Attribute(u"UseFrameSecond"), 0);
    if (xml.NextChild(u"Reg"))
        m_Reg.LoadXml(xml, PLCOrNone(plc));
    return true;
}
