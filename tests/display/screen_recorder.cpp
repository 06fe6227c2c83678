#include "tests/display/screen_recorder.h"

#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace tavrix::display_testing {

namespace {
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;
}  // namespace

ScreenRecorder::ScreenRecorder(std::chrono::milliseconds length, pid_t pid) : length_(length), pid_(pid) {
  int screen = 0;
  connection_ = xcb_connect(nullptr, &screen);
  if (xcb_connection_has_error(connection_) != 0) {
    xcb_disconnect(connection_);
    throw std::runtime_error("ScreenRecorder: cannot open the X display");
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen; ++i) xcb_screen_next(&it);
  root_ = it.data->root;

  static constexpr char kPid[] = "_NET_WM_PID";
  Reply<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof kPid - 1, kPid), nullptr));
  if (atom) pidAtom_ = atom->atom;

  // Mappings of the root's children: frames, or top-level windows when no
  // window manager reparents them.
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection_);
  thread_ = std::thread([this] { Run(); });
}

ScreenRecorder::~ScreenRecorder() {
  stop_ = true;
  thread_.join();
  xcb_disconnect(connection_);
}

std::optional<ScreenRecorder::Showing> ScreenRecorder::Find(xcb_window_t window, Clock::time_point since) const {
  std::lock_guard lock(mutex_);
  for (const Showing& s : showings_) {
    if ((window == 0 || s.window == window) && s.mapped >= since) return s;
  }
  return std::nullopt;
}

void ScreenRecorder::Stop(xcb_window_t window) {
  std::lock_guard lock(mutex_);
  for (Showing& s : showings_)
    if (window == 0 || s.window == window) s.done = true;
}

void ScreenRecorder::Run() {
  struct Recording {
    std::size_t index;
    xcb_window_t window;
    Clock::time_point until;
  };
  std::vector<Recording> recording;
  pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
  while (!stop_ && xcb_connection_has_error(connection_) == 0) {
    const Clock::time_point now = Clock::now();
    for (auto r = recording.begin(); r != recording.end();) {
      std::optional<Picture> picture = Read(r->window);
      std::lock_guard lock(mutex_);
      Showing& s = showings_[r->index];
      if (picture &&
          (s.pictures.empty() || s.pictures.back().rect != picture->rect || s.pictures.back().image != picture->image))
        s.pictures.push_back(std::move(*picture));
      if (now >= r->until || !picture || s.done) {
        s.done = true;
        r = recording.erase(r);
      } else {
        ++r;
      }
    }
    // Events may have come in with the image replies: handle every one
    // before waiting on the connection again.
    while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
      if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
        if (xcb_window_t own = OwnWindowIn(map->window, 2); own != 0) {
          std::lock_guard lock(mutex_);
          showings_.push_back(Showing{own, Clock::now(), {}, false});
          recording.push_back({showings_.size() - 1, own, Clock::now() + length_});
        }
      }
      std::free(e);
    }
    // A picture about every 2 ms while recording.
    poll(&fd, 1, recording.empty() ? 50 : 2);
  }
  std::lock_guard lock(mutex_);
  for (const Recording& r : recording) showings_[r.index].done = true;
}

xcb_window_t ScreenRecorder::OwnWindowIn(xcb_window_t top, int depth) {
  Reply<xcb_get_property_reply_t> pid(xcb_get_property_reply(
      connection_, xcb_get_property(connection_, 0, top, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr));
  if (pid && xcb_get_property_value_length(pid.get()) == 4) {
    std::uint32_t value = 0;
    std::memcpy(&value, xcb_get_property_value(pid.get()), 4);
    if (value == static_cast<std::uint32_t>(pid_)) return top;
  }
  if (depth == 0) return 0;
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, top), nullptr));
  if (!tree) return 0;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {  // topmost first
    if (xcb_window_t own = OwnWindowIn(children[i], depth - 1); own != 0) return own;
  }
  return 0;
}

std::optional<ScreenRecorder::Picture> ScreenRecorder::Read(xcb_window_t window) {
  const Clock::time_point at = Clock::now();
  Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
  Reply<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(
      connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
  if (!geometry || !place || geometry->width == 0 || geometry->height == 0) return std::nullopt;
  const QRect rect(place->dst_x, place->dst_y, geometry->width, geometry->height);
  Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
      connection_,
      xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(rect.x()),
                    static_cast<std::int16_t>(rect.y()), static_cast<std::uint16_t>(rect.width()),
                    static_cast<std::uint16_t>(rect.height()), ~0u),
      nullptr));
  // A 24-bit screen keeps 32 bits a pixel, the layout of Format_RGB32.
  const auto bytes = static_cast<std::size_t>(rect.width()) * static_cast<std::size_t>(rect.height()) * 4;
  if (!image || image->depth != 24 || static_cast<std::size_t>(xcb_get_image_data_length(image.get())) != bytes)
    return std::nullopt;
  QImage pixels(rect.size(), QImage::Format_RGB32);
  const std::uint8_t* data = xcb_get_image_data(image.get());
  for (int y = 0; y < rect.height(); ++y)
    std::memcpy(pixels.scanLine(y), data + static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.width()) * 4,
                static_cast<std::size_t>(rect.width()) * 4);
  return Picture{at, rect, pixels};
}

double SameShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 0.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  qint64 same = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) same += (p[col] & 0xFFFFFFu) == (q[col] & 0xFFFFFFu) ? 1 : 0;
  }
  return static_cast<double>(same) / (static_cast<double>(x.width()) * x.height());
}

}  // namespace tavrix::display_testing
