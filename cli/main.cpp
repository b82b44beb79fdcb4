// brindle-cli: the command-line companion of Brindle. It makes the folders of a
// tree file, captures a folder's structure and undoes the last run, through the
// same engine as the window.

#include "commands.h"

int main(int argc, char *argv[])
{
    return cli::runMain(argc, argv);
}
