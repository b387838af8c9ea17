// Module1's payload writer.
#pragma once

#include <cstdint>
#include <string>

namespace trevolo {

// Writes the resource `number` of `type` from the program's own executable
// to `targetPath`, so that the file holds exactly its bytes. 0 on success,
// else the Win32 error. The payload goes to a temporary file beside the
// target first and replaces it only once it is wholly written: a failure
// leaves what was at the target (or its absence) as it was, and a target
// that may not be written (read-only, held open by another program) is not
// touched. Shows nothing, throws nothing.
std::int32_t ExtractPayload(std::int16_t number, const std::wstring& type, const std::wstring& targetPath);

}  // namespace trevolo
