// File dialogs: filters written "Name(*.ext)|*.ext|...||" become Qt's
// "Name(*.ext);;..." list. "*.*" means every file, as users expect.
#pragma once

#include <QString>

QString QtFilterList(const char* pipeSeparated);
