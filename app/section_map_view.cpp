#include "app/section_map_view.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

std::array<double, 4> bounds_of(const std::vector<map_point>& outline) {
    if (outline.empty())
        return {0.0, 0.0, 1.0, 1.0};
    std::array<double, 4> b{outline[0][0], outline[0][1], outline[0][0], outline[0][1]};
    for (const map_point& p : outline) {
        b[0] = std::min(b[0], p[0]);
        b[1] = std::min(b[1], p[1]);
        b[2] = std::max(b[2], p[0]);
        b[3] = std::max(b[3], p[1]);
    }
    const double margin = 0.05 * std::max({b[2] - b[0], b[3] - b[1], 1e-9});
    return {b[0] - margin, b[1] - margin, b[2] + margin, b[3] + margin};
}

// x rounded to the power of ten at or below step, so that a clicked point reads as briefly as
// the map can tell it; a negative power divides by an exact power of ten so that the value is
// the double nearest its decimal text.
double rounded(double x, double step) {
    const int power = static_cast<int>(std::floor(std::log10(step)));
    if (power >= 0) {
        const double unit = std::pow(10.0, power);
        return std::round(x / unit) * unit;
    }
    const double per_unit = std::pow(10.0, -power);
    return std::round(x * per_unit) / per_unit;
}

const QColor horizon_colours[] = {QColor(0, 110, 190), QColor(0, 150, 70), QColor(200, 120, 0),
                                  QColor(130, 60, 170), QColor(0, 150, 150)};

} // namespace

SectionMapView::SectionMapView(const section_map& shown, QWidget* parent)
    : QWidget(parent), map(shown), bounds(bounds_of(shown.outline)) {
    setObjectName("map_view");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 320);
    setToolTip("Click the section's points; double-click or press Enter to end the line, "
               "Backspace to take back the last point.");
}

QSize SectionMapView::sizeHint() const {
    return {480, 480};
}

// One scale in x and y, the map centred in the view, north up.
SectionMapView::frame SectionMapView::frame_now() const {
    const double w = bounds[2] - bounds[0], h = bounds[3] - bounds[1];
    const double scale = std::min(width() / w, height() / h);
    return {scale, 0.5 * (width() - scale * w), 0.5 * (height() - scale * h)};
}

QPointF SectionMapView::to_screen(const map_point& p) const {
    const frame f = frame_now();
    return {f.left + f.scale * (p[0] - bounds[0]), f.top + f.scale * (bounds[3] - p[1])};
}

map_point SectionMapView::to_map(const QPointF& at) const {
    const frame f = frame_now();
    const double pixel = 1.0 / f.scale;
    return {rounded(bounds[0] + (at.x() - f.left) / f.scale, pixel),
            rounded(bounds[3] - (at.y() - f.top) / f.scale, pixel)};
}

void SectionMapView::set_line(std::vector<map_point> line, bool is_ended) {
    points = std::move(line);
    ended = is_ended;
    update();
}

void SectionMapView::end_line() {
    if (points.size() < 2 || ended)
        return;
    ended = true;
    update();
    emit line_ended();
}

void SectionMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const map_point at = to_map(event->position());
    if (ended)
        points.clear();
    else if (!points.empty() && points.back() == at)
        return; // a line has no two equal points in a row: the second press of a double click
    ended = false;
    points.push_back(at);
    update();
    emit line_changed();
}

// The press before it added the point; the double click ends the line there.
void SectionMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    end_line();
}

void SectionMapView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        end_line();
        return;
    case Qt::Key_Backspace:
        if (!points.empty()) {
            points.pop_back();
            ended = false;
            update();
            emit line_changed();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SectionMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);

    QPolygonF outline;
    for (const map_point& p : map.outline)
        outline << to_screen(p);
    painter.setPen(QPen(Qt::darkGray, 1.5));
    painter.setBrush(QColor(238, 238, 232));
    painter.drawPolygon(outline);
    painter.setBrush(Qt::NoBrush);

    const QFontMetrics metrics = painter.fontMetrics();
    int legend_y = metrics.height();
    for (std::size_t h = 0; h < map.horizon_outlines.size(); ++h) {
        const QColor& colour = horizon_colours[h % std::size(horizon_colours)];
        painter.setPen(QPen(colour, 1.0));
        for (const map_segment& s : map.horizon_outlines[h])
            painter.drawLine(to_screen(s[0]), to_screen(s[1]));
        painter.drawText(6, legend_y, QString::fromStdString(map.horizon_names[h]));
        legend_y += metrics.height();
    }

    painter.setPen(QPen(QColor(190, 20, 20), 2.0));
    std::vector<bool> labelled(map.fault_labels.size(), false);
    for (const map_trace& t : map.fault_traces) {
        const QPointF a = to_screen({t.from[0], t.from[1]}), b = to_screen({t.to[0], t.to[1]});
        painter.drawLine(a, b);
        if (t.fault < labelled.size() && !labelled[t.fault]) {
            labelled[t.fault] = true;
            painter.drawText((a + b) / 2 + QPointF(4, -4),
                             QString::fromStdString(map.fault_labels[t.fault]));
        }
    }

    QPolygonF line;
    for (const map_point& p : points)
        line << to_screen(p);
    painter.setPen(QPen(QColor(20, 60, 200), 2.0, ended ? Qt::SolidLine : Qt::DashLine));
    painter.drawPolyline(line);
    painter.setBrush(QColor(20, 60, 200));
    for (const QPointF& p : line)
        painter.drawEllipse(p, 3.0, 3.0);
    if (!line.isEmpty())
        painter.drawText(line.front() + QPointF(5, 14), "start");

    painter.setPen(Qt::black);
    painter.drawText(QRectF(rect()).adjusted(0, 4, -8, 0), Qt::AlignRight | Qt::AlignTop,
                     "N \u2191");
}

} // namespace tolvex
