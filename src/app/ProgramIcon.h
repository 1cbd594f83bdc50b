#pragma once
// The program's icon, built into the executable so every window shows it wherever the program
// runs from.
#include <QIcon>

QIcon ProgramIcon();
