// What the clipboard holds, for commands that are enabled only when there is
// something for them to paste.
#pragma once

// Text, or a format that the system turns into text on request.
bool ClipboardHasText();
