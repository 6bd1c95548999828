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
    QString m_strDoc;
    QString m_strResult;
    int m_iPosParent = 0;
    int m_iPos = 0;
    int m_iPosChild = 0;
};
