#pragma once

#include <QByteArray>
#include <QString>

#include <map>

// The panel's flash: files kept after a flash write, and the MD5 of each, which the panel
// reports in its file-information answer. The digests are kept in an index file beside the
// files ("panelsim.md5", in md5sum's format), so a later process sees the same panel.
class PanelStore {
public:
    static constexpr const char* kIndexName = "panelsim.md5";

    // An empty folder keeps everything in memory only.
    explicit PanelStore(QString folder);

    // The digest of the file held under `name`; empty when there is none.
    QByteArray Md5Of(const QByteArray& name) const;

    // Writes the file and its digest; false when the folder cannot take them.
    bool Keep(const QByteArray& name, const QByteArray& data);

private:
    bool WriteIndex() const;

    QString m_folder;
    std::map<QByteArray, QByteArray> m_md5;
};
