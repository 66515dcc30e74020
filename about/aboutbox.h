#pragma once

#include <QDialog>

class QPushButton;

namespace qm {

/// The About box: caption, picture and the publisher's lines; OK closes it.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    QPushButton *okButton() const { return m_ok; }

private:
    QPushButton *m_ok;
};

} // namespace qm
