#pragma once

namespace orv::platform {

// Renames `from` to `to` (file system bytes) without ever replacing an existing `to`.
// Returns 0, or the errno of the failure: EEXIST when `to` is taken, ENOENT when `from`
// is missing. Uses renameat2(RENAME_NOREPLACE); where the file system refuses that flag,
// falls back to renameByLinking. When `to` is already a second name of the very file
// `from` names (a rename by linking cut off before its unlink), the rename is completed
// by removing `from`.
//
//   if (int err = renameNoReplace("/a/x y.mp3", "/a/x_y.mp3")) throw errnoError(err, …);
int renameNoReplace(const char* from, const char* to);

// The same by link() and unlink(): link() fails with EEXIST rather than replace `to`,
// and completes a rename cut off between the two as renameNoReplace does. If `from`
// cannot be unlinked afterwards, the new link is removed again, so the file keeps its
// one old name.
int renameByLinking(const char* from, const char* to);

// What renameNoReplace(from, to) would meet at `to`, changing nothing: 0 when nothing is
// there or when `to` is already a second name of the file `from` names (the rename would
// be completed), EEXIST when anything else is there (a dangling symbolic link too), or
// the errno of looking.
//
//   renameTargetRefusal("/a/x y.mp3", "/a/x_y.mp3");   // EEXIST: "x_y.mp3" is another file
int renameTargetRefusal(const char* from, const char* to);

}  // namespace orv::platform
