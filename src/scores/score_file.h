// The score file at scoreFilePath: six Settings bytes, 21 records with
// scrambled names, and a checksum over the records. Nothing is read or
// written when scoreFilePath is empty.
#pragma once

void loadScoreFile();
void saveScoreFile();
