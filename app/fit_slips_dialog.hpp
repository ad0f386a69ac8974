// "&Fit Slips…": a slip fit's tables, read-only, with OK to take the fitted slips and Cancel to
// keep the loaded ones.
#pragma once

#include "app/fit_slips_table.hpp"

#include <QDialog>

namespace tolvex {

class FitSlipsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FitSlipsDialog(const fit_slips_table& table, QWidget* parent = nullptr);
};

} // namespace tolvex
