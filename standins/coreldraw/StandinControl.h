// The test side of the stand-in CorelDRAW server: what the next server
// process starts from, what the server was asked, and waiting for it to end.
#pragma once

#include <windows.h>

#include <vector>

#include "Drawing.h"
#include "Journal.h"
#include "StandinFiles.h"

namespace standin {

// Writes the drawing (with its faults) that the next server process reads
// when it starts, and empties the journal.
bool PrepareServer(const DrawingFile& file);
bool ClearJournal();

// The journal's lines in order. A line that cannot be read comes back as a
// call named "?" with the raw line as its result.
std::vector<JournalEntry> ReadJournal();

// Waits until no CorelDrawStandin.exe runs; false if one still does after
// `timeoutMs`.
bool WaitForServerExit(DWORD timeoutMs = 10000);

}  // namespace standin
