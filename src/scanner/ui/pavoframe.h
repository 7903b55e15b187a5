#pragma once
#include <QFrame>

class QComboBox;

// Settings page of the "Pavo (RS-232)" scanner: port and speed, the line format the reader uses,
// and the two configuration barcodes that make the scanner end each code with a CR.
class TFrame_Pavo : public QFrame {
    Q_OBJECT
public:
    explicit TFrame_Pavo(QWidget* parent = nullptr);

    // Fills the port list with the machine's ports (the names the link dialog lists) and the speeds.
    void Init();
    // Selects the first item equal to each text; a list without such an item keeps its selection.
    void SetConfig(const QString& com, const QString& speed);

    QComboBox* cbbPort = nullptr;
    QComboBox* cbbSpeed = nullptr;

Q_SIGNALS:
    // The user's choice, at once.
    void ComPortChosen(const QString& port);
    void SpeedChosen(const QString& speed);
};
