#pragma once

#include "XmlObject.h"

#include <cstdint>

class CMarkup;

// The serial port parameters of the panel.
class CCommPara : public CXmlObject {
public:
    // The cursor's main element is `CommParameter`.
    bool LoadXml(CMarkup& xml) override;
    bool SaveXml(CMarkup& xml) const override;

    std::uint16_t m_nDisplayID = 1;
    std::int32_t m_nBaudRate = 9600;
    std::int32_t m_nDataBit = 0;    // 0 "7", 1 "8"
    std::int32_t m_nStopBit = 0;    // 0 "1", 1 "2"
    std::int32_t m_nParityBit = 0;  // 0 none, 1 odd, 2 even
    std::int32_t m_nSerialType = 0; // 0 "RS232", 1 "RS422", 2 "RS485"
};
