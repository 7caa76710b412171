#pragma once
// The build stamp that the R&D tab shows.

#include <string>
#include <string_view>

// "Build: May 25 2009, 14:03:59" from the compiler's date ("May 25 2009", or
// "May  5 2009" with a padded day, shown as "May 5 2009") and time ("14:03:59").
std::string BuildStamp(std::string_view compile_date, std::string_view compile_time);

// The stamp of this build.
std::string ThisBuildStamp();
