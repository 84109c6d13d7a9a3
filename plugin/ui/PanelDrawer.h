// Drawing with the host's annotator drawer in the coordinates of the settings panel: pixels
// to the right of and below its origin, on the view of the draw message. Every call draws
// through the drawer suite and keeps the last host error; none stops the drawing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Messages.h"
#include "plugin/host/Records.h"

namespace ui {

// A rectangle of the panel, pixels from its origin, y downwards.
struct PanelRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class PanelDrawer {
  public:
    // Draws with `drawer` around the view point `origin` of the panel.
    PanelDrawer(AIAnnotatorDrawer* drawer, AIPoint origin);

    void Color(const AIRGBColor& color);
    void Opacity(double opacity);
    void LineWidth(double width);
    void Font(ASInt32 preset);

    // `text` (Windows-1252) with the left end of its baseline at (x, y).
    void Text(double x, double y, const std::string& text);
    // The width `text` takes in the current font, pixels.
    double TextWidth(const std::string& text);
    void Line(double x1, double y1, double x2, double y2);
    void Rect(double left, double top, double right, double bottom, bool fill);
    void Ellipse(double left, double top, double right, double bottom, bool fill);
    void Polyline(const std::vector<AIRealPoint>& points);
    // Cubic pieces (first anchor, then handles and anchor of each piece) in panel pixels.
    void BezierOutline(const std::vector<AIRealPoint>& points, bool closed);
    // The inside of the closed outline of cubic pieces (as BezierOutline takes them),
    // painted as one horizontal line a pixel row, since the drawer fills no curves.
    void FillBezier(const std::vector<AIRealPoint>& points);

    // While measuring, the drawing calls draw nothing and gather instead the rectangle that
    // what they would draw covers: lines and outlines with half their width around them,
    // texts from their baseline by their width and the small font's height, with a little
    // room on either side.
    void BeginMeasure();
    // The rectangle gathered since BeginMeasure (nothing when nothing would have been
    // drawn); drawing resumes.
    std::optional<PanelRect> EndMeasure();

    ASErr Error() const { return error_; }

  private:
    AIPoint At(double x, double y) const;
    void Keep(ASErr error);
    // Adds the rectangle to the measure, widened by `margin` on every side.
    void Cover(double left, double top, double right, double bottom, double margin);
    void CoverPoints(const std::vector<AIRealPoint>& points);

    AIAnnotatorDrawer* drawer_;
    AIPoint origin_;
    ASErr error_ = 0;
    double lineWidth_ = 1;
    bool measuring_ = false;
    std::optional<PanelRect> measured_;
};

// The colours of the panel.
inline constexpr AIRGBColor kBlack{0, 0, 0};
inline constexpr AIRGBColor kWhite{65535, 65535, 65535};

}  // namespace ui
