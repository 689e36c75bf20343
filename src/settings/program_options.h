// The program options: loaded from the registry when the document is made,
// stored when it goes, and by the project reader and job loader in between.
#pragma once

// Returns 1 when the key could be opened and the options were read, else 0
// with nothing changed.
int LoadProgramOptions();
// Returns 1 when the key could be opened and the options were written.
int SaveProgramOptions();
// g_UnitFactor and g_UnitName from g_UnitSelector and the current XY scale:
// 0 mm, 1 mil, 2 pulse, anything else mm.
void DeriveDisplayUnit();
// Makes g_SystemDir the current directory. It is made first when missing,
// so the files the program keeps there can be written, and gets the default
// settings files it lacks.
void EnterSystemDir();
