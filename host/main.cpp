int rezuroMain();
int main() { return rezuroMain(); }
