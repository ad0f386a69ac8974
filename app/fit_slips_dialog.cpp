#include "app/fit_slips_dialog.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvex {

namespace {

// A read-only table of rows, the first its header.
QTableWidget* cells_table(const std::vector<std::vector<std::string>>& rows, const char* name,
                          QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (rows.empty())
        return table;
    table->setColumnCount(static_cast<int>(rows.front().size()));
    table->setRowCount(static_cast<int>(rows.size() - 1));
    QStringList header;
    for (const std::string& text : rows.front())
        header << QString::fromStdString(text);
    table->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[r][c]));
            if (c > 0) // numbers line up on their decimal point
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(static_cast<int>(r - 1), static_cast<int>(c), item);
        }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

FitSlipsDialog::FitSlipsDialog(const fit_slips_table& table, QWidget* parent) : QDialog(parent) {
    setObjectName("FitSlipsDialog");
    setWindowTitle("Fit Slips");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel("Slips fitted to the horizons (lengths in model units). OK replaces the "
                   "faults' slips.",
                   this));
    layout->addWidget(cells_table(table.faults, "tbl_faults", this));
    layout->addWidget(cells_table(table.horizons, "tbl_horizons", this));
    auto* summary = new QLabel(QString::fromStdString(table.summary), this);
    summary->setObjectName("lbl_summary");
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    layout->addWidget(summary);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 480);
}

} // namespace tolvex
