#pragma once

// The new-message sound: the sound theme's "message-new-instant" event, played asynchronously.
// Does not interrupt its own sound still playing, plays nothing when the theme has no such sound
// or the machine has no sound at all, and never fails the caller. Returns whether playback was
// started.
bool OdtworzDzwiekNowejWiadomosci();
