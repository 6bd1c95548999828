#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The program's XML document: one UTF-16 text holding the whole document, an index of its
// elements and a cursor (parent, main, child) with which the model reads and writes elements
// and attributes in document order. Not a general DOM: no backwards navigation, no removal.
//
// Positions are indexes into the element index; 0 means "none" (entry 0 is the document).
// Names are compared case-sensitively. An empty name in NextElement/NextChild matches any
// element.
class CMarkup {
public:
    CMarkup();

    // Whole document.
    bool SetDocumentText(const QString& text);
    const QString& GetDocumentText() const { return m_strDoc; }
    bool ReadDocument(const QString& path);
    bool WriteDocument(const QString& path);
    bool IsWellFormed() const;
    // Summary or error of the last file operation and parse.
    const QString& GetResult() const { return m_strResult; }

    // Navigation.
    void Rewind();
    bool NextElement(QStringView name = {});
    bool NextChild(QStringView name = {});
    bool EnterElement();
    bool LeaveElement();
    QString TagNameAt(int position) const;
    QString TagName() const { return TagNameAt(m_iPos); }
    QString ChildTagName() const { return TagNameAt(m_iPosChild); }
    int ParentPosition() const { return m_iPosParent; }
    int MainPosition() const { return m_iPos; }
    int ChildPosition() const { return m_iPosChild; }

    // Reading values (unescaped; "" when missing).
    QString Attribute(QStringView name) const;
    QString ChildAttribute(QStringView name) const;
    QString ChildText() const;

    // Writing: every write edits the text in place, updates the index and leaves the cursor
    // on what it added.
    bool AppendElement(QStringView name, QStringView data = {});
    bool AppendChild(QStringView name, QStringView data = {});
    bool SetAttribute(QStringView name, QStringView value);
    bool SetAttribute(QStringView name, int value);
    bool SetChildAttribute(QStringView name, QStringView value);
    bool SetChildAttribute(QStringView name, int value);

    static QString EscapeText(QStringView text, bool attribute);
    static QString UnescapeText(QStringView text);

    // UTF-8 <-> UTF-16 as the document files use them: malformed input gives '?', a zero
    // byte ends the text, a lone surrogate is written as '?'.
    static QString DecodeUtf8(const char* data, std::size_t size);
    static QByteArray EncodeUtf8(QStringView text);

private:
    // One element of the index. Offsets and lengths count UTF-16 units of m_strDoc.
    struct ElemPos {
        int nStart = 0;  // offset of the '<' of the start tag
        int nLength = 0; // start tag to end of end tag
        int nStartTagLen = 0;
        int nEndTagLen = 0; // 0 for an empty-element tag or an element not ended
        int iElemParent = 0;
        int iElemChild = 0; // first child
        int iElemLastChild = 0;
        int iElemNext = 0;
        int nLastValueAt = 0; // opening quote of the last quoted value, from nStart; 0: none
        int nFlags = 0;
        int EndOffset() const { return nStart + nLength; }
    };
    enum ElemFlags { FlagEmptyElement = 1, FlagReference = 2 };
    struct TextEdit {
        int nOffset = 0;
        int nRemove = 0;
        QString strInsert;
        int nElementAt = 0; // where a new element starts within strInsert
        int Shift() const { return int(strInsert.size()) - nRemove; }
    };
    class Parser;

    void Parse();
    void AddResult(const QString& message);
    QStringView NameAt(int iPos) const;
    int FindSibling(int iPos, QStringView name) const;
    void StoreTagValues(int iPos, qsizetype nLastValueAt, bool bReference);
    QString AttributeOf(int iPos, QStringView name) const;
    bool SetAttributeOf(int iPos, QStringView name, QStringView value);
    int InsertElement(int iParent, int iAfter, QStringView name, QStringView data);
    TextEdit PlaceAfter(int iAfter, const QString& element) const;
    TextEdit PlaceAsFirstChild(int iParent, const QString& element) const;
    bool ApplyEdit(const TextEdit& edit);
    void ShiftSubtree(int iTop, int nShift);
    void ShiftFollowing(int iPos, int nShift);

    QString m_strDoc;
    QString m_strResult;
    std::vector<ElemPos> m_aPos;
    bool m_bParseError = false;
    int m_iPosParent = 0;
    int m_iPos = 0;
    int m_iPosChild = 0;
};
