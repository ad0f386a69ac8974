// The desktop program: the main window on Qt's event loop. The command line, the settings file
// and the display are settled before Qt starts.
#include "app/command_line.hpp"
#include "app/display_check.hpp"
#include "app/form1.hpp"
#include "app/qt_desktop_ui.hpp"
#include "app/settings_start.hpp"
#include "app/start_file_ui.hpp"
#include "app/start_up.hpp"
#include "io/file_paths.hpp"

#include <QApplication>
#include <QTimer>

#include <iostream>

int main(int argc, char** argv) {
    const auto planned = tolvex::plan_start(
        argc, argv, tolvex::settings_places_here(),
        tolvex::installed_examples_dir(tolvex::executable_dir()), std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&planned))
        return *status;
    const tolvex::start_plan& plan = std::get<tolvex::start_plan>(planned);
    if (!plan.notice.empty())
        std::cerr << plan.notice << "\n";
    if (const auto problem = tolvex::display_problem()) {
        std::cerr << *problem << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    tolvex::with_start_file<tolvex::qt_desktop_ui> ui(plan.fault_file);
    tolvex::Form1 form(ui);
    tolvex::start_up(form, form.document().settings, plan.settings_file);
    form.show();
    // Reported once the window is up, so the message boxes have something to sit on.
    QTimer::singleShot(0, &form, [&ui, &form, &plan] {
        if (!plan.notice.empty())
            ui.message_box(plan.notice, "tolvex", tolvex::message_icon::none);
        tolvex::show_config_problems(ui, form.document().settings, plan.settings_file);
        ui.open_in(form);
    });
    app.exec();
    return 0;
}
