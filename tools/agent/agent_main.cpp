// orbisan-agent: the broker's side of the connector, from the command line.
#include "agent_cli.h"

int main(int argc, char** argv) { return agent_main(argc, argv); }
