#include "PanelStore.h"

#include "AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>

PanelStore::PanelStore(QString folder) : m_folder(std::move(folder)) {
    QByteArray index;
    if (m_folder.isEmpty() || !ReadWholeFile(QDir(m_folder).filePath(kIndexName), index))
        return;
    for (const QByteArray& line : index.split('\n')) {
        // "<32 hex digits>  <name>"; anything else was not written by us and is skipped.
        const QByteArray md5 = QByteArray::fromHex(line.left(32));
        if (line.size() < 35 || md5.size() != 16 || line.mid(32, 2) != "  ")
            continue;
        m_md5[line.mid(34)] = md5;
    }
}

QByteArray PanelStore::Md5Of(const QByteArray& name) const {
    const auto it = m_md5.find(name);
    return it == m_md5.end() ? QByteArray() : it->second;
}

bool PanelStore::Keep(const QByteArray& name, const QByteArray& data) {
    if (!m_folder.isEmpty() &&
        !WriteFileAtomically(QDir(m_folder).filePath(QString::fromLatin1(name)), data))
        return false;
    m_md5[name] = QCryptographicHash::hash(data, QCryptographicHash::Md5);
    return WriteIndex();
}

bool PanelStore::WriteIndex() const {
    if (m_folder.isEmpty())
        return true;
    QByteArray index;
    for (const auto& [name, md5] : m_md5)
        index += md5.toHex() + "  " + name + '\n';
    return WriteFileAtomically(QDir(m_folder).filePath(kIndexName), index);
}
