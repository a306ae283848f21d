// The broker's connector framework, all of it.
#pragma once

#include "kl_bo.h"
#include "kl_gc.h"
#include "kl_globals.h"
#include "kl_msg.h"
#include "kl_veneer.h"
