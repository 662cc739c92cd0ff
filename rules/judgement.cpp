#include "rules/judgement.h"

const char *judgementWord(Judgement judgement)
{
    static const char *const words[] = {"MISS", "GOOD", "GREAT"};
    return words[judgement];
}
