#pragma once

class Dialogs;

// Tells the user of each copy that a rewrite in place kept and never released, because
// the run doing it ended in the middle: a copy of a file that is whole goes, one of a
// file that is provably what the cut-short save left is offered back, and any other is
// only shown where it is. A copy stays on the disk until the user has answered
// for it, so a run that ends while the question is open loses nothing.
void offerKeptCopies(Dialogs &dialogs);
