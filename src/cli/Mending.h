#pragma once

struct CommandLine;
struct FactorySkin;

// vellox --suggest PICTURE -o OUT [--variant N]: a whole skin made from the picture's
// colours, in the format the editor saves, the same bytes every time. Returns the exit
// status.
int suggestSkinFile(const CommandLine &command);

// vellox --fix SKIN [--background PICTURE] -o OUT: the skin file with the code of each
// text that does not read well replaced by a readable colour of its hue, every other
// byte as it was; one line on standard output for each item changed, or that no colour
// of its hue mends. Returns the exit status.
int fixSkinFile(const CommandLine &command, const FactorySkin &factory);
