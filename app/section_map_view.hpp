// The map of the "Save Section" dialog: the model seen from above at one scale in x and y, with
// the section's line on it. Each click adds a point of the line, rounded to the size a pixel
// stands for; a double click or Enter ends the line, Backspace takes its last point back, and a
// click after an ended line starts a new one.
#pragma once

#include "model/section_map.hpp"

#include <QWidget>

#include <vector>

namespace tolvex {

class SectionMapView : public QWidget {
    Q_OBJECT

  public:
    // shown must outlive the view.
    SectionMapView(const section_map& shown, QWidget* parent);

    const std::vector<map_point>& line() const { return points; }
    bool line_is_ended() const { return ended; }
    // Shows points as the line, ended or still being drawn; no signal.
    void set_line(std::vector<map_point> line, bool ended);

    // Where a map point is drawn, and the map point a pixel stands for, at the view's size.
    QPointF to_screen(const map_point& p) const;
    map_point to_map(const QPointF& at) const;

  signals:
    void line_changed(); // a point added or taken back
    void line_ended();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QSize sizeHint() const override;

  private:
    struct frame {
        double scale; // pixels per map unit
        double left, top;
    };
    frame frame_now() const;
    void end_line();

    const section_map& map;
    std::array<double, 4> bounds; // the outline's x and y ranges with a margin: x0, y0, x1, y1
    std::vector<map_point> points;
    bool ended = false;
};

} // namespace tolvex
