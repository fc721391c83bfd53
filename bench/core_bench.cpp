#include <cstring>
#include <string>
int main(){return 0;}
