#include "app/fault_edit_dialog.hpp"

#include "formats/fault_table.hpp"
#include "io/input_error.hpp"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvex {

namespace {

QPushButton* add_button(QBoxLayout* row, const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

FaultEditDialog::FaultEditDialog(const table_cells& rows,
                                 std::function<void(const std::string&)> show_error,
                                 QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)), show_error_(std::move(show_error)) {
    setWindowTitle("Edit Faults");
    table_->setObjectName("tbl_faults");
    auto* buttons = new QHBoxLayout;
    connect(add_button(buttons, "&Add", "btn_add"), &QPushButton::clicked, this,
            &FaultEditDialog::add_row);
    connect(add_button(buttons, "&Remove", "btn_remove"), &QPushButton::clicked, this,
            &FaultEditDialog::remove_row);
    connect(add_button(buttons, "Move U&p", "btn_up"), &QPushButton::clicked, this,
            [this] { move_row(-1); });
    connect(add_button(buttons, "Move Do&wn", "btn_down"), &QPushButton::clicked, this,
            [this] { move_row(1); });
    connect(add_button(buttons, "&Undo", "btn_undo"), &QPushButton::clicked, this,
            &FaultEditDialog::undo);
    buttons->addStretch();
    auto* ok_cancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(ok_cancel, &QDialogButtonBox::accepted, this, &FaultEditDialog::accept);
    connect(ok_cancel, &QDialogButtonBox::rejected, this, &FaultEditDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    layout->addWidget(ok_cancel);
    show_cells(rows);
    connect(table_, &QTableWidget::cellChanged, this, &FaultEditDialog::changed);
    resize(900, 400);
}

void FaultEditDialog::show_cells(const table_cells& rows) {
    const QSignalBlocker quiet(table_);
    shown_ = rows;
    const std::vector<std::string>& header = rows.front();
    table_->setColumnCount(static_cast<int>(header.size()));
    table_->setRowCount(static_cast<int>(rows.size()) - 1);
    QStringList titles;
    for (const std::string& h : header)
        titles << QString::fromStdString(h);
    table_->setHorizontalHeaderLabels(titles);
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < header.size(); ++c)
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c),
                            new QTableWidgetItem(QString::fromStdString(
                                c < rows[r].size() ? rows[r][c] : std::string())));
}

table_cells FaultEditDialog::cells() const {
    table_cells rows{shown_.front()};
    for (int r = 0; r < table_->rowCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < table_->columnCount(); ++c) {
            const QTableWidgetItem* item = table_->item(r, c);
            rows.back().push_back(item ? item->text().toStdString() : std::string());
        }
    }
    return rows;
}

void FaultEditDialog::changed() {
    history_.push_back(shown_);
    shown_ = cells();
}

void FaultEditDialog::add_row() {
    table_cells rows = cells();
    history_.push_back(rows);
    const int at = table_->currentRow() < 0 ? table_->rowCount() : table_->currentRow() + 1;
    rows.insert(rows.begin() + 1 + at, std::vector<std::string>(rows.front().size()));
    show_cells(rows);
    table_->setCurrentCell(at, 0);
}

void FaultEditDialog::remove_row() {
    const int at = table_->currentRow();
    if (at < 0)
        return;
    table_cells rows = cells();
    history_.push_back(rows);
    rows.erase(rows.begin() + 1 + at);
    show_cells(rows);
}

void FaultEditDialog::move_row(int by) {
    const int at = table_->currentRow(), to = at + by;
    if (at < 0 || to < 0 || to >= table_->rowCount())
        return;
    table_cells rows = cells();
    history_.push_back(rows);
    std::swap(rows[static_cast<std::size_t>(1 + at)], rows[static_cast<std::size_t>(1 + to)]);
    show_cells(rows);
    table_->setCurrentCell(to, table_->currentColumn());
}

void FaultEditDialog::undo() {
    if (history_.empty())
        return;
    show_cells(history_.back());
    history_.pop_back();
}

void FaultEditDialog::accept() {
    try {
        faults_ = faults_from_rows(cells(), "the fault table");
    } catch (const input_error& e) {
        show_error_(e.what());
        return;
    }
    QDialog::accept();
}

} // namespace tolvex
