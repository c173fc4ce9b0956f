#include "infra/Utilities.h"
