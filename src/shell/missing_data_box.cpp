#include "shell/missing_data_box.h"

#include <stdexcept>

#include "presentation/application.h"
#include "presentation/window.h"

void ShowMissingDataBox(platform::Backend& backend, const DataSearch& search) {
  TWindow window(backend);
  TApplication app(backend, window);
  window.SetCaption(app.Title);
  app.ShowException(std::runtime_error(MissingDataMessage(search)));
}
