// The desktop program: the main window on Qt's event loop. The command line is not used.
#include "display_check.hpp"
#include "form1.hpp"
#include "qt_desktop_ui.hpp"
#include "start_up.hpp"

#include <QApplication>
#include <QTimer>

#include <iostream>

int main(int argc, char** argv) {
    if (const auto problem = tolvex::display_problem()) {
        std::cerr << *problem << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    tolvex::qt_desktop_ui ui;
    tolvex::Form1 form(ui);
    tolvex::start_up(form, form.document().settings, ui.executable_dir());
    form.show();
    // Reported once the window is up, so the message box has something to sit on.
    QTimer::singleShot(
        0, &form, [&ui, &form] { tolvex::show_config_problems(ui, form.document().settings); });
    app.exec();
    return 0;
}
