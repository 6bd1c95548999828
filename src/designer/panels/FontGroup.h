#pragma once

#include <QGroupBox>
#include <QHash>

class QComboBox;

// "字体": the face and the size of a text. The faces are those with GB2312 characters, with
// the Windows names a project may carry ("宋体", "黑体", ...) that this system substitutes.
class CFontGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit CFontGroup(QWidget* parent = nullptr);

    // The face by name, else by a full name of a face, else the first face; a size that is not
    // offered as the first size.
    void Show(const QString& face, int size);

signals:
    void FaceChosen(const QString& face);
    void SizeChosen(int size);

private:
    QComboBox* m_pFace;
    QComboBox* m_pSize;
    QStringList m_faces;
    // Finding a face by its full names reads the fonts' name tables: once per name.
    QHash<QString, int> m_faceIndexes;
};
