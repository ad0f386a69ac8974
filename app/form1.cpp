#include "app/form1.hpp"

#include "app/desktop_texts.hpp"

#include <QAction>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <exception>

namespace tolvex {

namespace {

constexpr int client_width = 296;
constexpr int client_height = 273;
constexpr int list_margin = 8; // lb_fault keeps this gap to both sides as the window widens
constexpr int list_height = 124;

// The fault list needs a fixed-pitch font so its columns line up.
// Some desktops' "monospace" is a font that Qt does not take as fixed-pitch (Noto Sans Mono,
// for one), so the common fixed-pitch families are tried before it is given up.
QFont fault_list_font() {
    if (QFontDatabase::families().contains("Courier New"))
        return QFont("Courier New", 9);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Nimbus Mono PS"}) {
        if (QFontInfo(font).fixedPitch())
            break;
        if (QFontDatabase::families().contains(family))
            font = QFont(family, 9);
    }
    return font;
}

QLabel* make_label(const char* name, const char* text, int y, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // configured file names are shown as written
    label->setGeometry(list_margin, y, 280, 16);
    return label;
}

// The fault list with its column headers in a margin above the rows, so the rows scroll beneath
// them; both in the list's fixed-pitch font.
class headed_list : public QListWidget {
  public:
    explicit headed_list(QWidget* parent) : QListWidget(parent) {
        setFont(fault_list_font());
        auto* header = new QLabel(QString::fromStdString(fault_list_header()), this);
        header->setObjectName("lbl_fault_columns");
        header->setTextFormat(Qt::PlainText);
        const int height = QFontMetrics(font()).height() + 2;
        setViewportMargins(0, height, 0, 0);
        header->setGeometry(frameWidth() + 2, frameWidth(), client_width, height);
    }
};

} // namespace

Form1::Form1(desktop_ui& desktop) : ui(desktop) {
    InitializeComponent();
}

void Form1::InitializeComponent() {
    setObjectName("Form1");
    setWindowTitle("Form1");
    auto* client = new QWidget(this);
    client->setObjectName("client_area");
    setCentralWidget(client);

    // Created in the order in which the controls stack.
    lbl_boundary = make_label("lbl_boundary", "boundary file =", 152, client);
    lbl_tracer = make_label("lbl_tracer", "tracer file = ", 136, client);
    btn_plot = new QPushButton("plot", client);
    btn_plot->setObjectName("btn_plot");
    btn_plot->setGeometry(8, 200, 112, 24);
    lb_fault = new headed_list(client);
    lb_fault->setObjectName("lb_fault");
    lb_fault->setGeometry(list_margin, list_margin, client_width - 2 * list_margin, list_height);

    QWidget::setTabOrder(lb_fault, btn_plot);
    QWidget::setTabOrder(btn_plot, lbl_tracer);
    QWidget::setTabOrder(lbl_tracer, lbl_boundary);

    mi_file = menuBar()->addMenu("&File");
    mi_file->setObjectName("mi_file");
    mi_open = mi_file->addAction("&Open");
    mi_open->setObjectName("mi_open");
    mi_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mi_save_tracer = mi_file->addAction("Save &Tracer");
    mi_save_tracer->setObjectName("mi_save_tracer");
    mi_save_restored_tracer = mi_file->addAction("Save &Restored Tracer");
    mi_save_restored_tracer->setObjectName("mi_save_restored_tracer");
    mi_save_section = mi_file->addAction("Save &Section...");
    mi_save_section->setObjectName("mi_save_section");
    mi_save_faults = mi_file->addAction("Save &Faults...");
    mi_save_faults->setObjectName("mi_save_faults");
    mi_edit_faults = mi_file->addAction("&Edit Faults...");
    mi_edit_faults->setObjectName("mi_edit_faults");
    mi_fit_slips = mi_file->addAction("&Fit Slips…");
    mi_fit_slips->setObjectName("mi_fit_slips");
    mi_bar1 = mi_file->addSeparator();
    mi_bar1->setObjectName("mi_bar1");
    mi_exit = mi_file->addAction("E&xit");
    mi_exit->setObjectName("mi_exit");
    mi_exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A failure no handler expects reaches the user instead of unwinding through Qt.
    const auto guarded = [this](void (Form1::*handler)()) {
        return [this, handler] {
            try {
                (this->*handler)();
            } catch (const std::exception& e) {
                ui.message_box(e.what(), "ERROR", message_icon::error);
            }
        };
    };
    connect(mi_open, &QAction::triggered, this, guarded(&Form1::mi_open_Click));
    connect(mi_save_tracer, &QAction::triggered, this, guarded(&Form1::mi_save_tracer_Click));
    connect(mi_save_restored_tracer, &QAction::triggered, this,
            guarded(&Form1::mi_save_restored_tracer_Click));
    connect(mi_save_section, &QAction::triggered, this, guarded(&Form1::mi_save_section_Click));
    connect(mi_save_faults, &QAction::triggered, this, guarded(&Form1::mi_save_faults_Click));
    connect(mi_edit_faults, &QAction::triggered, this, guarded(&Form1::mi_edit_faults_Click));
    connect(mi_fit_slips, &QAction::triggered, this, guarded(&Form1::mi_fit_slips_Click));
    connect(mi_exit, &QAction::triggered, this, guarded(&Form1::mi_exit_Click));
    connect(btn_plot, &QPushButton::clicked, this, guarded(&Form1::btn_plot_Click));

    client->installEventFilter(this);
    resize(client_width, client_height + menuBar()->sizeHint().height());
    move(0, 0);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        lb_fault->resize(centralWidget()->width() - 2 * list_margin, list_height);
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tolvex
