// Standard input, output and error always lead somewhere. A stream the program
// was started without is opened on /dev/null, so that no file, pipe or display
// connection the program opens later takes its number and receives its prints.
#pragma once

void openClosedStandardStreams();
