#pragma once

// The dialog of File > Export: the file (typed, or chosen with the save-file
// prompt whose filters name PNG, SVG and PDF), the picture's width and height
// (the window's client size to begin with) and, for PNG, smooth edges. OK
// checks the name: an extension other than .png, .svg or .pdf is refused
// with a message, no extension gets .png, and a name without a folder goes
// to the folder of the suggested one.
//
// Only the interface thread uses it.

#include <QDialog>
#include <QSize>

class QCheckBox;
class QLineEdit;
class QSpinBox;

class CExportDialog : public QDialog
{
    Q_OBJECT
public:
    // The largest side a picture may have, in pixels or points.
    static constexpr int kMaxSide = 32768;

    CExportDialog(const QString& suggestedPath, QSize clientSize, QWidget* parent = nullptr);

    QString Path() const;
    QSize PictureSize() const;
    bool Antialias() const;

    QLineEdit* PathEdit() const { return m_path; }
    QSpinBox* WidthBox() const { return m_width; }
    QSpinBox* HeightBox() const { return m_height; }
    QCheckBox* AntialiasBox() const { return m_antialias; }

    // The filters of the save-file prompt, one per picture type.
    static QString Filters();

    void accept() override;

private:
    void Browse();

    QLineEdit* m_path = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QCheckBox* m_antialias = nullptr;
    QString m_folder;
};
