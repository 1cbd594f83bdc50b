#pragma once
// The Ok and Cancel buttons that close the program's small windows.
class QDialog;
class QHBoxLayout;
class QPushButton;

// Makes ok the dialog's default button, lets it accept and cancel reject the dialog, and returns
// a row that keeps both at its right edge. The buttons keep their names and captions.
QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton* ok, QPushButton* cancel);
