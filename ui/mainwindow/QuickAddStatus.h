#pragma once

class ElidingStatusBar;
class QuickAddQueue;

// Tells in the status bar that quick-add lines wait for another program's write (and when they
// could not be saved to disk), and that lines an earlier run left waiting were added or that its
// file was kept aside. The word that lines wait stays while any does: whatever clears the bar
// meanwhile brings it back. Where the bar is short, the quoted line or the program's name gives
// way, not what happened.
void reportWaitingQuickAdds(QuickAddQueue &queue, ElidingStatusBar &bar);
