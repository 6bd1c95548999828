#pragma once

class CMarkup;

// The persistence interface of the model's objects: read from and append to a CMarkup cursor.
class CXmlObject {
public:
    virtual ~CXmlObject() = default;
    virtual bool LoadXml(CMarkup& xml) = 0;
    virtual bool SaveXml(CMarkup& xml) const = 0;
};
