#include "Platform/Dialogs/Gtk3FileChooser.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace QZ::Dialogs
{
namespace
{

// GTK's own translations of the texts its chooser uses, in the language the program has set.
constexpr const char* kGtkDomain = "gtk30";

const char* GtkText(const char* text)
{
    return g_dgettext(kGtkDomain, text);
}

bool StartGtk()
{
    static const bool prepared = []
    {
        gtk_disable_setlocale();
        return true;
    }();
    return prepared && gtk_init_check(nullptr, nullptr) != FALSE;
}

// The program's window that the dialog blocks, as GDK knows a window of another connection;
// null when there is none, or when the desktop is not an X11 one.
struct OwnerReleaser
{
    void operator()(GdkWindow* owner) const { g_object_unref(owner); }
};
using Owner = std::unique_ptr<GdkWindow, OwnerReleaser>;

Owner FindOwner(std::uint64_t native)
{
#ifdef GDK_WINDOWING_X11
    GdkDisplay* display = gdk_display_get_default();
    if (native != 0 && display != nullptr && GDK_IS_X11_DISPLAY(display))
    {
        GdkWindow* owner =
            gdk_x11_window_foreign_new_for_display(display, static_cast<Window>(native));
        if (owner != nullptr)
        {
            // The owner taking the keyboard is how a click on it shows.
            gdk_window_set_events(owner, GDK_FOCUS_CHANGE_MASK);
        }
        return Owner(owner);
    }
#endif
    static_cast<void>(native);
    return nullptr;
}

// Hands the window the keyboard when no window manager runs (none owns the selection
// WM_S<screen>): then nobody else does, for a dialog that shows or for the window it blocked once
// it has gone. A window manager decides that for itself.
void TakeKeyboardWithoutWindowManager(GdkWindow* window)
{
#ifdef GDK_WINDOWING_X11
    if (window == nullptr || !GDK_IS_X11_WINDOW(window) || gdk_window_is_destroyed(window))
    {
        return;
    }
    GdkDisplay* display = gdk_window_get_display(window);
    const std::string manager =
        "WM_S" + std::to_string(gdk_x11_screen_get_screen_number(gdk_window_get_screen(window)));
    if (XGetSelectionOwner(GDK_WINDOW_XDISPLAY(window),
                           gdk_x11_get_xatom_by_name_for_display(display, manager.c_str())) != None)
    {
        return;
    }
    // The blocked window may be gone or hidden by now, which the server answers with an error.
    gdk_x11_display_error_trap_push(display);
    XSetInputFocus(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window), RevertToParent,
                   CurrentTime);
    gdk_x11_display_error_trap_pop_ignored(display);
    gdk_display_flush(display);
#else
    static_cast<void>(window);
#endif
}

// Another program may destroy a dialog's window while GTK still draws into it: the requests on
// their way then fail, and GDK ends the whole program for an X error it was not told to expect.
// Expected from the dialog's making until it is gone, and reported on stderr instead.
void ExpectXErrors(GdkDisplay* display)
{
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display))
    {
        gdk_x11_display_error_trap_push(display);
    }
#else
    static_cast<void>(display);
#endif
}

void ReportXErrors(GdkDisplay* display)
{
#ifdef GDK_WINDOWING_X11
    if (!GDK_IS_X11_DISPLAY(display))
    {
        return;
    }
    const gint error = gdk_x11_display_error_trap_pop(display);
    if (error != 0)
    {
        std::fprintf(stderr,
                     "Gtk3FileChooser: X error %d about the dialog, whose window another program "
                     "may have destroyed; ignored\n",
                     error);
    }
#else
    static_cast<void>(display);
#endif
}

// A dialog made by this file, held with a reference of its own until it has served, then
// destroyed and taken off the screen. GTK destroys a dialog whose window another program
// destroyed, without an answer; such a dialog is never shown or read again.
class HeldDialog
{
public:
    // keyboardHeir: the window that gets the keyboard back when the dialog goes (may be null).
    HeldDialog(GtkWidget* dialog, GdkWindow* keyboardHeir)
        : mDialog(GTK_WIDGET(g_object_ref(dialog))), mDisplay(gtk_widget_get_display(dialog)),
          mKeyboardHeir(keyboardHeir)
    {
        ExpectXErrors(mDisplay);
        g_signal_connect(mDialog, "destroy", G_CALLBACK(OnDestroy), this);
    }
    HeldDialog(const HeldDialog&) = delete;
    HeldDialog& operator=(const HeldDialog&) = delete;

    ~HeldDialog()
    {
        // Handed over before the dialog goes, so that the keyboard is never left nowhere.
        TakeKeyboardWithoutWindowManager(mKeyboardHeir);
        if (!mDestroyed)
        {
            gtk_widget_destroy(mDialog);
        }
        g_object_unref(mDialog);
        while (g_main_context_iteration(nullptr, FALSE))
        {
        }
        // The loop above can go idle with the window's removal still unsent: under load, GTK
        // was seen to have stopped reading the display at the answer, its requests left in the
        // connection's buffer. Nothing runs GTK's loop until the next dialog, so the answered
        // dialog stayed on screen, frozen.
        gdk_display_sync(mDisplay);
        ReportXErrors(mDisplay);
    }

    GtkWidget* Get() const { return mDialog; }
    bool IsDestroyed() const { return mDestroyed; }

private:
    static void OnDestroy(GtkWidget*, gpointer self)
    {
        static_cast<HeldDialog*>(self)->mDestroyed = true;
    }

    GtkWidget* mDialog;
    GdkDisplay* mDisplay;
    GdkWindow* mKeyboardHeir;
    bool mDestroyed = false;
};

// A click on the blocked window (or the desktop handing it the keyboard) brings the dialog
// back in front with the keyboard, as the dialog is what waits for input.
GdkFilterReturn OnOwnerEvent(GdkXEvent* xevent, GdkEvent*, gpointer data)
{
#ifdef GDK_WINDOWING_X11
    if (static_cast<XEvent*>(xevent)->type == FocusIn)
    {
        GdkWindow* dialog = gtk_widget_get_window(GTK_WIDGET(data));
        if (dialog != nullptr)
        {
            gdk_window_raise(dialog);
            gdk_window_focus(dialog, gdk_x11_get_server_time(dialog));
        }
    }
#else
    static_cast<void>(xevent);
    static_cast<void>(data);
#endif
    return GDK_FILTER_CONTINUE;
}

// Keeps the dialog in front of the owner for as long as it lives.
void StayInFrontOf(GtkWidget* dialog, GdkWindow* owner)
{
    if (owner == nullptr)
    {
        return;
    }
    gtk_widget_realize(dialog);
    gdk_window_set_transient_for(gtk_widget_get_window(dialog), owner);
}

// What one run of a dialog's loop has seen.
struct DialogRun
{
    const HeldDialog& dialog;
    const std::function<bool()>& pump;
    bool answered = false;
    gint response = GTK_RESPONSE_NONE;
    std::exception_ptr pumpError;
};

void OnResponse(GtkDialog*, gint response, gpointer data)
{
    auto* run = static_cast<DialogRun*>(data);
    run->answered = true;
    run->response = response;
}

// Cancels the run's dialog unless GTK has destroyed it, which ends the run already.
void Cancel(const DialogRun& run)
{
    if (!run.dialog.IsDestroyed())
    {
        gtk_dialog_response(GTK_DIALOG(run.dialog.Get()), GTK_RESPONSE_CANCEL);
    }
}

// No exception may cross GTK's frames: one from the pump cancels the dialog and is rethrown
// once GTK's loop has returned.
gboolean OnPumpTick(gpointer data)
{
    auto* run = static_cast<DialogRun*>(data);
    try
    {
        if (!run->pump())
        {
            Cancel(*run);
        }
    }
    catch (...)
    {
        run->pumpError = std::current_exception();
        Cancel(*run);
    }
    return G_SOURCE_CONTINUE;
}

// Shows the dialog with the keyboard and runs GTK's loop (and the program's pump) until the
// dialog answers or GTK destroys it: Escape and the close box answer, then destroy it; a window
// destroyed by another program only destroys it. A destroyed dialog answers GTK_RESPONSE_NONE,
// and is not shown again.
gint RunUntilAnswered(const HeldDialog& held, const std::function<bool()>& pump, GdkWindow* owner)
{
    if (held.IsDestroyed())
    {
        return GTK_RESPONSE_NONE;
    }
    GtkWidget* dialog = held.Get();
    DialogRun run{held, pump, false, GTK_RESPONSE_NONE, nullptr};
    const gulong handler = g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &run);
    const guint tick = pump ? g_timeout_add(kPumpIntervalMs, OnPumpTick, &run) : 0;
    gtk_window_present(GTK_WINDOW(dialog));
    // Also when the dialog shows again, as the chooser does after its question.
    TakeKeyboardWithoutWindowManager(gtk_widget_get_window(dialog));
    if (owner != nullptr)
    {
        gdk_window_add_filter(owner, OnOwnerEvent, dialog);
    }
    while (!run.answered && !held.IsDestroyed())
    {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (owner != nullptr)
    {
        gdk_window_remove_filter(owner, OnOwnerEvent, dialog);
    }
    if (tick != 0)
    {
        g_source_remove(tick);
    }
    // Destroying the dialog has taken its handlers with it.
    if (!held.IsDestroyed())
    {
        g_signal_handler_disconnect(dialog, handler);
    }
    if (run.pumpError)
    {
        std::rethrow_exception(run.pumpError);
    }
    return held.IsDestroyed() ? GTK_RESPONSE_NONE : run.response;
}

// Asks, in a window with the chooser's title, whether the existing file is to be replaced; a
// question that ends without an answer declines.
bool ConfirmOverwrite(GtkWidget* chooser, const std::string& path,
                      const std::function<bool()>& pump, GdkWindow* owner)
{
    gchar* name = g_filename_display_basename(path.c_str());
    gchar* folderPath = g_path_get_dirname(path.c_str());
    gchar* folder = g_filename_display_basename(folderPath);
    // Destroyed with the chooser, should another program destroy that one meanwhile.
    const HeldDialog question(
        gtk_message_dialog_new(
            GTK_WINDOW(chooser),
            static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
            GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE,
            GtkText("A file named “%s” already exists.  Do you want to replace it?"), name),
        nullptr);
    GtkWidget* dialog = question.Get();
    gtk_message_dialog_format_secondary_text(
        GTK_MESSAGE_DIALOG(dialog),
        GtkText("The file already exists in “%s”.  Replacing it will overwrite its contents."),
        folder);
    g_free(name);
    g_free(folderPath);
    g_free(folder);
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), GtkText("_Cancel"), GTK_RESPONSE_CANCEL,
                           GtkText("_Replace"), GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    gtk_window_set_title(GTK_WINDOW(dialog), gtk_window_get_title(GTK_WINDOW(chooser)));
    GList* icon = gtk_window_get_icon_list(GTK_WINDOW(chooser));
    gtk_window_set_icon_list(GTK_WINDOW(dialog), icon);
    g_list_free(icon);
    return RunUntilAnswered(question, pump, owner) == GTK_RESPONSE_ACCEPT;
}

// The window's icon from PNGs of its sizes; those that do not decode are left out.
void SetIcon(GtkWindow* window, const std::vector<std::span<const std::uint8_t>>& pngs)
{
    GList* sizes = nullptr;
    for (const std::span<const std::uint8_t> png : pngs)
    {
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
        if (loader == nullptr)
        {
            continue;
        }
        const bool read = gdk_pixbuf_loader_write(loader, png.data(), png.size(), nullptr) != FALSE;
        if (gdk_pixbuf_loader_close(loader, nullptr) != FALSE && read &&
            gdk_pixbuf_loader_get_pixbuf(loader) != nullptr)
        {
            sizes = g_list_append(sizes, g_object_ref(gdk_pixbuf_loader_get_pixbuf(loader)));
        }
        g_object_unref(loader);
    }
    if (sizes != nullptr)
    {
        gtk_window_set_icon_list(window, sizes);
    }
    g_list_free_full(sizes, g_object_unref);
}

// A new chooser, held by GTK's list of windows until it is destroyed.
GtkWidget* CreateChooser(const FileChooserRequest& request, GdkWindow* owner)
{
    const bool save = request.mode == FileChooserMode::Save;
    GtkWidget* chooser = gtk_file_chooser_dialog_new(
        request.title.c_str(), nullptr,
        save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, GtkText("_Cancel"),
        GTK_RESPONSE_CANCEL, GtkText(save ? "_Save" : "_Open"), GTK_RESPONSE_ACCEPT, nullptr);
    auto* files = GTK_FILE_CHOOSER(chooser);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
    StayInFrontOf(chooser, owner);
    SetIcon(GTK_WINDOW(chooser), request.icon);
    gtk_file_chooser_set_local_only(files, TRUE);
    gtk_file_chooser_set_select_multiple(files, !save && request.multiple);
    // Overwriting is confirmed here, for the name with its default extension added.
    gtk_file_chooser_set_do_overwrite_confirmation(files, FALSE);
    GFile* folder = g_file_new_for_path(request.folder.empty() ? "." : request.folder.c_str());
    gtk_file_chooser_set_current_folder_file(files, folder, nullptr);
    g_object_unref(folder);
    for (const auto& filter : request.filters)
    {
        GtkFileFilter* gtkFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(gtkFilter, filter.label.c_str());
        for (const auto& pattern : filter.patterns)
        {
            gtk_file_filter_add_pattern(gtkFilter, ToDesktopPattern(pattern).c_str());
        }
        gtk_file_chooser_add_filter(files, gtkFilter);
    }
    return chooser;
}

std::vector<std::string> ChosenPaths(GtkWidget* chooser)
{
    std::vector<std::string> paths;
    GSList* names = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(chooser));
    for (GSList* item = names; item != nullptr; item = item->next)
    {
        paths.emplace_back(static_cast<const char*>(item->data));
    }
    g_slist_free_full(names, g_free);
    return paths;
}

} // namespace

FileChooserResult Gtk3FileChooser::Run(const FileChooserRequest& request,
                                       std::vector<std::string>& paths)
{
    if (!StartGtk())
    {
        return FileChooserResult::Unavailable;
    }
    const Owner owner = FindOwner(request.owner);
    const HeldDialog chooser(CreateChooser(request, owner.get()), owner.get());
    const auto extension = NormalizeDefaultExtension(request.defaultExtension);
    while (RunUntilAnswered(chooser, request.pump, owner.get()) == GTK_RESPONSE_ACCEPT)
    {
        paths = ChosenPaths(chooser.Get());
        if (paths.empty())
        {
            continue;
        }
        if (request.mode == FileChooserMode::Save)
        {
            paths.resize(1);
            paths[0] = WithDefaultExtension(paths[0], extension);
            if (g_file_test(paths[0].c_str(), G_FILE_TEST_EXISTS) &&
                !ConfirmOverwrite(chooser.Get(), paths[0], request.pump, owner.get()))
            {
                continue;
            }
        }
        return FileChooserResult::Chosen;
    }
    return FileChooserResult::Cancelled;
}

} // namespace QZ::Dialogs

// The module's one entry point (see DesktopFileChooser.h).
extern "C" __attribute__((visibility("default"))) QZ::Dialogs::IFileChooser* QZGetGtkFileChooser()
{
    static QZ::Dialogs::Gtk3FileChooser chooser;
    return &chooser;
}
