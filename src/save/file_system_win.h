#pragma once
// Scripting.FileSystemObject, reached by its ProgID through IDispatch.
#include <memory>

#include "save/save_steps.h"

namespace rapporta::save {

// Creates a new FileSystemObject; throws Failure when the system has none.
std::unique_ptr<FileSystem> CreateScriptingFileSystem();

}  // namespace rapporta::save
