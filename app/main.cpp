#include "screen/startup.h"

int main() { return snugbox::runSnugbox(); }
