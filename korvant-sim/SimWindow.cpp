#include "korvant-sim/SimWindow.h"

#include "korvant-sim/PartProgram.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

namespace {

enum Column
{
    Number,
    Type,
    Axis,
    Nominal,
    Plus,
    Minus,
    ColumnCount
};

QTableWidgetItem* readOnlyItem(const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

QString numberText(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

SimWindow::SimWindow(const sim::PartProgram& program, QWidget* parent)
    : QTableWidget(static_cast<int>(program.commands.size()), ColumnCount, parent), m_program(program)
{
    setObjectName(QStringLiteral("KorvantSimWindow"));
    setWindowTitle(QStringLiteral("KORVANT-Simulator – %1").arg(QString::fromStdString(program.name)));
    setHorizontalHeaderLabels({QStringLiteral("Nr."), QStringLiteral("Typ"), QStringLiteral("Achse"),
                               QStringLiteral("Nennmaß"), QStringLiteral("Plus"), QStringLiteral("Minus")});
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (std::size_t i = 0; i < program.commands.size(); ++i)
        showCommand(i);
    resizeColumnsToContents();
    // As large as the whole part program where the screen allows, so that a
    // transfer can be watched without scrolling.
    const int frame = 2 * frameWidth();
    const QSize content(horizontalHeader()->length() + verticalScrollBar()->sizeHint().width() + frame,
                        horizontalHeader()->sizeHint().height() + verticalHeader()->length() + frame);
    resize(screen() ? content.boundedTo(screen()->availableGeometry().size()) : content);
}

void SimWindow::showCommand(std::size_t index)
{
    const sim::Command& command = m_program.commands.at(index);
    const int row = static_cast<int>(index);
    setItem(row, Number, readOnlyItem(QString::number(index + 1)));
    setItem(row, Type, readOnlyItem(QString::number(command.typeCode)));
    setItem(row, Axis, readOnlyItem(QString::fromStdString(command.axis)));
    if (command.isDimension) {
        setItem(row, Nominal, readOnlyItem(numberText(command.nominal)));
        setItem(row, Plus, readOnlyItem(numberText(command.plus)));
        setItem(row, Minus, readOnlyItem(numberText(command.minus)));
    }
}
