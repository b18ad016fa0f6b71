#include "sites/site_profile.h"

SiteProfile CurrentSession;
SiteProfile WorkingSession;
SiteProfile CommandSession;
