#pragma once

class TDM1;

namespace operations {

// Deletes the operation of the list's current row with its items, their summary
// declarations and openings, and its guarantees, all or nothing, after a Yes/No question.
// True when it was deleted.
bool AntrepoIslemSil(TDM1& dm);

} // namespace operations
