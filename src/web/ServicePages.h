#pragma once

#include <QString>

class SourceSettings;

// The music and movie pages and the home page live on the catalogue
// service. Where no tab uses a service, they have nowhere to come from.
namespace ServicePages {

// What the home-page command says then.
QString NoServiceMessage();
// The local page the web tabs show then, as HTML (nothing is fetched).
QString NoServiceHtml();
// The address to show for a page of the build-time service: moved to the
// service the tabs use; empty when no tab uses one.
QString PageAddress(const SourceSettings& settings, const QString& buildTimeAddress,
                    const QString& buildTimeBase);
// The service's home page, for every way of opening it (the home-page
// button and command, the question after a connection timed out); empty
// when no tab uses a service.
QString HomePage(const SourceSettings& settings);

} // namespace ServicePages
