// "Save Section": the map with the section's line, a field holding the line as numbers in step
// with it, the section along the line once the line is ended, and "Save..." to write it.
#pragma once

#include "app/desktop_ui.hpp"

#include <QDialog>
#include <QTimer>

class QLabel;
class QLineEdit;

namespace tolvex {

class SectionMapView;

class SectionDialog : public QDialog {
    Q_OBJECT

  public:
    // map must outlive the dialog; line is drawn and its section shown to start with.
    SectionDialog(const section_map& map, const std::vector<map_point>& line,
                  section_dialog_calls calls, QWidget* parent = nullptr);

  protected:
    // The section is drawn to fit its place: again once a resize has settled.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void take_typed_line(bool end);
    void show_section();
    void save();
    void say(const std::string& text);

    section_dialog_calls calls;
    SectionMapView* map_view = nullptr;
    QLineEdit* txt_line = nullptr;
    QLabel* lbl_section = nullptr;
    QLabel* lbl_message = nullptr;
    QTimer redraw;
    std::vector<map_point> shown_line; // the line of the section on screen
};

} // namespace tolvex
