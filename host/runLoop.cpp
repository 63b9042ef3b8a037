// Placeholder until the run loop lands.
int rezuroMain() { return 0; }
