// The folders an author works with before choosing any: a per-user resource
// folder that starts with the pictures and sounds installed with the program,
// and a per-user folder in the documents folder for the joined runner files.
#pragma once

#include <QString>

namespace qrn {

// The per-user resource folder, ending with "/": the editor's data folder
// (~/.local/share/QUORANTEL on Linux) followed by "resources/".
QString defaultResourceFolder();
// The per-user join output folder, ending with "/": the documents folder
// followed by "QUORANTEL/".
QString defaultJoinFolder();

// The folder of the starter pictures and sounds: the one installed with the
// program (share/quorantel/resources beside its bin folder, or in the system
// data folders), else the one the build made; empty when there is none.
QString starterResourceFolder();

// Gives `folder` the files of `starter` when it does not exist yet: the files
// are copied (never linked), each writable by the author, into a folder
// made beside it and then renamed into place, so an interrupted fill leaves
// no half-filled folder behind. A folder that exists is left as it is, even
// empty. Returns whether `folder` exists afterwards.
bool fillResourceFolderOnce(const QString& folder, const QString& starter);

// Whether a join may write into `folder`: an existing writable folder, or
// the default join folder when the nearest existing folder above it is
// writable (the join creates it).
bool joinFolderUsable(const QString& folder);
// Creates the default join folder when `folder` is it and it is missing.
// Returns whether `folder` exists afterwards.
bool makeJoinFolder(const QString& folder);

}  // namespace qrn
