// The player's own keys, from $XDG_CONFIG_HOME/kravix/keys.conf (by default
// ~/.config/kravix/keys.conf): the backend reads them when the keyboard starts.
// For the program's --print-keys option: the bindings in force, in the file's form.
#pragma once

// Writes the bindings in force to standard output (problems with the file to
// standard error); returns the program's exit status.
int printPlayerKeys();
