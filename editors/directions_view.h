#pragma once

// The editor of a directions document: a compass with one numbered spoke
// per heading under a header band that states the count and the angle
// between neighbouring headings. The only edit is the count, typed into an
// in-place box over the header text; the headings follow from it.
//
// Colours: a copy of the application's colours taken when the view is made;
// only the background (entry 0) is used. Only the interface thread uses it.

#include "editors/in_place_edit.h"
#include "framework/view.h"
#include "render/display_settings.h"

#include <QPoint>
#include <QRgb>
#include <QString>
#include <QVector>

class CDirectionsDoc;

// Where the compass of n headings goes in a client area of w x h pixels.
struct CompassLayout
{
    static constexpr int kBandHeight = 48;
    static constexpr int kTop = kBandHeight + 10;
    static constexpr int kLabelGap = 16;
    // Beyond this many headings the spokes fill the disc: no more are laid
    // out (a compass may hold any count a file can).
    static constexpr int kMaxSpokes = 3600;
    // Beyond this many headings the numbers would overlap: none is written.
    static constexpr int kMaxLabels = 360;

    QPoint centre;
    int radius = 0;
    QVector<QPoint> spokeEnds;     // one per heading, truncated to pixels
    QVector<QPointF> labelCentres; // one per heading, where its number is centred

    static CompassLayout Make(int width, int height, int count);
};

class CDirectionsView : public View, public EditOwner
{
    Q_OBJECT
public:
    // Where the count is written and edited.
    static constexpr int kCountX = 80;
    static constexpr int kTextY = 16;

    CDirectionsView();

    CDirectionsDoc* GetDocument() const;
    const ColorSet& Colors() const { return m_colors; }
    InPlaceEdit* EditBox() const { return m_edit; }

    // The count and the angle between neighbouring headings: "8 (45.000000)";
    // "0" for an empty compass.
    static QString HeaderText(int count);

    void OnInitialUpdate() override;
    void OnDraw(QPainter& painter) override;
    // The colours the view starts from: the program's at the time.
    void OnInitialColors(const QVector<QRgb>& colors) override;
    // The colour bar shows the view's own colours while it is active.
    QVector<QRgb> BarColors() const override;

    // The commands, also for tests.
    void OnEditCount();
    // The background colour becomes `color`, here and on the colour bar.
    void SetBackground(Color color);
    // Stores the typed count; a count below 1 (or a word) keeps the box
    // open with its text.
    void CommitEdit() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnChooseBackground();

    ColorSet m_colors = kDefaultColorSet;
    InPlaceEdit* m_edit = nullptr;
};
