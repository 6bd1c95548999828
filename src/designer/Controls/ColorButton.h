#pragma once

#include <QPushButton>

#include <cstdint>

// A push button showing a colour; a click opens the palette popup (CColourPopup, a child of
// the button while it is open). Colours are colour references 0x00BBGGRR; kAutomatic marks
// the automatic colour, drawn as the default colour.
//
// A panel stores the colour on SelectionEnded, which comes once per choice made with OK (also
// when the same colour was chosen again). SetColor never emits.
class CColorButton : public QPushButton {
    Q_OBJECT

public:
    static constexpr std::uint32_t kAutomatic = 0xFF000000;

    explicit CColorButton(QWidget* parent = nullptr);

    std::uint32_t GetColor() const { return m_colour; }
    void SetColor(std::uint32_t colour);

    void SetDefaultColor(std::uint32_t colour);

    // Texts of the popup's first and last box; an empty text leaves the box out.
    void SetDefaultText(const QString& text) { m_defaultText = text; }
    void SetCustomText(const QString& text) { m_customText = text; }

    // When set, hovering in the popup already changes the button's colour.
    void SetTrackSelection(bool track) { m_trackSelection = track; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A box selected in the popup; after SelectionEnded when the colour changed.
    void SelectionChanged(std::uint32_t colour);
    void PopupOpened(std::uint32_t colour);
    void PopupClosed(std::uint32_t colour);
    // The choice made with OK: the button's new colour.
    void SelectionEnded(std::uint32_t colour);
    // The choice abandoned: the colour at opening, which the button shows again.
    void SelectionCancelled(std::uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenPopup();
    void OnPopupSelectionChanged(std::uint32_t colour);
    void OnPopupEnded(std::uint32_t colour);
    void OnPopupCancelled(std::uint32_t colour);

    std::uint32_t m_colour = kAutomatic;
    std::uint32_t m_defaultColour;
    QString m_defaultText;
    QString m_customText;
    bool m_popupActive = false;
    bool m_trackSelection = false;
};
