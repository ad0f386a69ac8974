#include "app/section_dialog.hpp"

#include "app/section_line_text.hpp"
#include "app/section_map_view.hpp"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvex {

namespace {

const char* const not_pairs = "Type the line as X0,Y0,X1,Y1: pairs of numbers, all separated by "
                              "commas.";

} // namespace

SectionDialog::SectionDialog(const section_map& map, const std::vector<map_point>& line,
                             section_dialog_calls dialog_calls, QWidget* parent)
    : QDialog(parent), calls(std::move(dialog_calls)) {
    setObjectName("SectionDialog");
    setWindowTitle("Save Section");
    auto* layout = new QVBoxLayout(this);
    auto* views = new QHBoxLayout;
    map_view = new SectionMapView(map, this);
    views->addWidget(map_view, 2);
    lbl_section = new QLabel(this);
    lbl_section->setObjectName("lbl_section");
    lbl_section->setMinimumSize(480, 360);
    lbl_section->setAlignment(Qt::AlignCenter);
    views->addWidget(lbl_section, 3);
    layout->addLayout(views, 1);

    layout->addWidget(new QLabel("Line X0,Y0,X1,Y1 in the boundary file's coordinates: click it "
                                 "on the map (double-click or Enter ends it, Backspace takes "
                                 "back a point) or type it (Enter shows the section).",
                                 this));
    txt_line = new QLineEdit(QString::fromStdString(map_points_text(line)), this);
    txt_line->setObjectName("txt_line");
    layout->addWidget(txt_line);
    lbl_message = new QLabel(this);
    lbl_message->setObjectName("lbl_message");
    lbl_message->setTextFormat(Qt::PlainText);
    lbl_message->setWordWrap(true);
    layout->addWidget(lbl_message);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* btn_save = new QPushButton("Save...", this);
    btn_save->setObjectName("btn_save");
    auto* btn_close = new QPushButton("Close", this);
    btn_close->setObjectName("btn_close");
    // Enter belongs to the map and the field: it ends the line, never presses a button.
    for (QPushButton* b : {btn_save, btn_close})
        b->setAutoDefault(false);
    buttons->addWidget(btn_save);
    buttons->addWidget(btn_close);
    layout->addLayout(buttons);

    connect(map_view, &SectionMapView::line_changed, this, [this] {
        txt_line->setText(QString::fromStdString(map_points_text(map_view->line())));
        say("");
    });
    connect(map_view, &SectionMapView::line_ended, this, &SectionDialog::show_section);
    connect(txt_line, &QLineEdit::textEdited, this, [this] { take_typed_line(false); });
    connect(txt_line, &QLineEdit::returnPressed, this, [this] { take_typed_line(true); });
    connect(btn_save, &QPushButton::clicked, this, &SectionDialog::save);
    connect(btn_close, &QPushButton::clicked, this, &QDialog::reject);
    resize(1100, 640);

    map_view->set_line(line, line.size() >= 2);
    redraw.setSingleShot(true);
    redraw.setInterval(150);
    connect(&redraw, &QTimer::timeout, this, &SectionDialog::show_section);
}

// The first resize comes before the dialog is shown, so the first section is drawn at its size.
void SectionDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (map_view->line_is_ended())
        redraw.start();
}

void SectionDialog::say(const std::string& text) {
    lbl_message->setText(QString::fromStdString(text));
}

// The field's line onto the map; end: the user pressed Enter in it.
void SectionDialog::take_typed_line(bool end) {
    const auto points = map_points_from_text(txt_line->text().toStdString());
    if (!points) {
        say(not_pairs);
        return;
    }
    say("");
    map_view->set_line(*points, end && points->size() >= 2);
    if (end)
        show_section();
}

void SectionDialog::show_section() {
    shown_line = map_view->line();
    const section_preview shown =
        calls.preview(map_view->line(), lbl_section->width(), lbl_section->height());
    QImage image;
    if (!shown.png.empty() && image.loadFromData(reinterpret_cast<const uchar*>(shown.png.data()),
                                                 static_cast<int>(shown.png.size()), "PNG")) {
        lbl_section->setPixmap(QPixmap::fromImage(image));
        say("");
        return;
    }
    lbl_section->clear();
    say(shown.message);
}

void SectionDialog::save() {
    const auto typed = map_points_from_text(txt_line->text().toStdString());
    if (!typed) {
        say(not_pairs);
        return;
    }
    map_view->set_line(*typed, typed->size() >= 2);
    if (*typed != shown_line)
        show_section(); // what is saved is seen first
    if (calls.save(*typed))
        accept();
}

} // namespace tolvex
