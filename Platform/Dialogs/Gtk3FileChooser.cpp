#include "Platform/Dialogs/Gtk3FileChooser.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstdint>
#include <exception>
#include <memory>
#include <span>
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

// Destroys a dialog made by this file (it holds a reference, so a window already closed by the
// desktop is fine) and lets GTK take it off the screen.
struct DialogCloser
{
    void operator()(GtkWidget* dialog) const
    {
        GdkDisplay* display = gtk_widget_get_display(dialog);
        gtk_widget_destroy(dialog);
        g_object_unref(dialog);
        while (g_main_context_iteration(nullptr, FALSE))
        {
        }
        // The loop above can go idle with the window's removal still unsent: under load, GTK
        // was seen to have stopped reading the display at the answer, its requests left in the
        // connection's buffer. Nothing runs GTK's loop until the next dialog, so the answered
        // dialog stayed on screen, frozen.
        gdk_display_sync(display);
    }
};
using Dialog = std::unique_ptr<GtkWidget, DialogCloser>;

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
    GtkDialog* dialog;
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

// No exception may cross GTK's frames: one from the pump cancels the dialog and is rethrown
// once GTK's loop has returned.
gboolean OnPumpTick(gpointer data)
{
    auto* run = static_cast<DialogRun*>(data);
    try
    {
        if (!run->pump())
        {
            gtk_dialog_response(run->dialog, GTK_RESPONSE_CANCEL);
        }
    }
    catch (...)
    {
        run->pumpError = std::current_exception();
        gtk_dialog_response(run->dialog, GTK_RESPONSE_CANCEL);
    }
    return G_SOURCE_CONTINUE;
}

// Shows the dialog and runs GTK's loop (and the program's pump) until the dialog answers. A
// closed window answers GTK_RESPONSE_DELETE_EVENT.
gint RunUntilAnswered(GtkWidget* dialog, const std::function<bool()>& pump, GdkWindow* owner)
{
    DialogRun run{GTK_DIALOG(dialog), pump, false, GTK_RESPONSE_NONE, nullptr};
    const gulong handler = g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &run);
    const guint tick = pump ? g_timeout_add(kPumpIntervalMs, OnPumpTick, &run) : 0;
    gtk_window_present(GTK_WINDOW(dialog));
    if (owner != nullptr)
    {
        gdk_window_add_filter(owner, OnOwnerEvent, dialog);
    }
    while (!run.answered)
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
    // A window closed by Escape or the desktop is destroyed with its handlers already.
    if (g_signal_handler_is_connected(dialog, handler))
    {
        g_signal_handler_disconnect(dialog, handler);
    }
    if (run.pumpError)
    {
        std::rethrow_exception(run.pumpError);
    }
    return run.response;
}

// Asks, in a window with the chooser's title, whether the existing file is to be replaced.
bool ConfirmOverwrite(GtkWidget* chooser, const std::string& path,
                      const std::function<bool()>& pump, GdkWindow* owner)
{
    gchar* name = g_filename_display_basename(path.c_str());
    gchar* folderPath = g_path_get_dirname(path.c_str());
    gchar* folder = g_filename_display_basename(folderPath);
    Dialog dialog(GTK_WIDGET(g_object_ref(gtk_message_dialog_new(
        GTK_WINDOW(chooser),
        static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE,
        GtkText("A file named “%s” already exists.  Do you want to replace it?"), name))));
    gtk_message_dialog_format_secondary_text(
        GTK_MESSAGE_DIALOG(dialog.get()),
        GtkText("The file already exists in “%s”.  Replacing it will overwrite its contents."),
        folder);
    g_free(name);
    g_free(folderPath);
    g_free(folder);
    gtk_dialog_add_buttons(GTK_DIALOG(dialog.get()), GtkText("_Cancel"), GTK_RESPONSE_CANCEL,
                           GtkText("_Replace"), GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_title(GTK_WINDOW(dialog.get()), gtk_window_get_title(GTK_WINDOW(chooser)));
    GList* icon = gtk_window_get_icon_list(GTK_WINDOW(chooser));
    gtk_window_set_icon_list(GTK_WINDOW(dialog.get()), icon);
    g_list_free(icon);
    return RunUntilAnswered(dialog.get(), pump, owner) == GTK_RESPONSE_ACCEPT;
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

Dialog CreateChooser(const FileChooserRequest& request, GdkWindow* owner)
{
    const bool save = request.mode == FileChooserMode::Save;
    Dialog chooser(GTK_WIDGET(g_object_ref(gtk_file_chooser_dialog_new(
        request.title.c_str(), nullptr,
        save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, GtkText("_Cancel"),
        GTK_RESPONSE_CANCEL, GtkText(save ? "_Save" : "_Open"), GTK_RESPONSE_ACCEPT, nullptr))));
    auto* files = GTK_FILE_CHOOSER(chooser.get());
    gtk_dialog_set_default_response(GTK_DIALOG(chooser.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_modal(GTK_WINDOW(chooser.get()), TRUE);
    StayInFrontOf(chooser.get(), owner);
    SetIcon(GTK_WINDOW(chooser.get()), request.icon);
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
    const auto chooser = CreateChooser(request, owner.get());
    const auto extension = NormalizeDefaultExtension(request.defaultExtension);
    while (RunUntilAnswered(chooser.get(), request.pump, owner.get()) == GTK_RESPONSE_ACCEPT)
    {
        paths = ChosenPaths(chooser.get());
        if (paths.empty())
        {
            continue;
        }
        if (request.mode == FileChooserMode::Save)
        {
            paths.resize(1);
            paths[0] = WithDefaultExtension(paths[0], extension);
            if (g_file_test(paths[0].c_str(), G_FILE_TEST_EXISTS) &&
                !ConfirmOverwrite(chooser.get(), paths[0], request.pump, owner.get()))
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
