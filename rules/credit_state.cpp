#include "rules/credit_state.h"

CreditState credit;
