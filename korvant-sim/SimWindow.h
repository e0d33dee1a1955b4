#pragma once

#include <QTableWidget>

namespace sim {
struct PartProgram;
}

// The part program as a table (number, type code, axis, nominal, plus, minus)
// that follows the tolerances as they arrive; the title names the program.
class SimWindow : public QTableWidget
{
    Q_OBJECT

public:
    explicit SimWindow(const sim::PartProgram& program, QWidget* parent = nullptr);

    void showCommand(std::size_t index);

private:
    const sim::PartProgram& m_program;
};
