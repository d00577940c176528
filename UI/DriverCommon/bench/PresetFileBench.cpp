// Save and load of a full preset (131 values, 4,494 bytes) through the preset manager and the
// application's engine, as the editor's menu commands run them. The save includes syncing the
// file and its folder to the disk; SavePresetFileWithoutFileSync leaves out the sync of the file.
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "UI/DriverCommon/AtomicFileWriter.h"
#include "UI/DriverCommon/PresetManager.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

class UnsyncedFileWriter : public QZ::AtomicFileWriter
{
protected:
    int SyncFile(int) override { return 0; }
};

// The application with its engine holding a full preset, a manager, and a scratch folder.
class PresetBench
{
public:
    PresetBench()
    {
        QZ::LNotification::EnablePooling(true);
        mApplication.CreateRootModuleEngine();
        mManager = QZ::LPresetManager::Create();
        std::string pattern = (fs::temp_directory_path() / "qz-preset-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            std::abort();
        }
        mFolder = pattern;
        mPath = QZ::WideString((mFolder / "bench.Tarn61RededoVuvuva").string().c_str());
        FillEngine();
    }

    ~PresetBench()
    {
        mManager = nullptr;
        mApplication.ReleaseRootModuleEngine();
        QZ::LNotificationCenterManager::ReleaseInstance();
        QZ::LNotification::EnablePooling(false);
        fs::remove_all(mFolder);
    }

    QZ::LPresetManager& Manager() { return *mManager; }
    const QZ::WideString& Path() const { return mPath; }

    // Delivers what the engine posted, as the application does at idle.
    static void DrainQueue()
    {
        static_cast<void>(QZ::GetApplicationNotificationCenter()->ProcessQueue(false));
    }

private:
    void FillEngine()
    {
        const QZ::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
        for (std::int32_t id = 0; id < static_cast<std::int32_t>(kPresetParamCount); ++id)
        {
            std::vector<unsigned char> bytes(GetPresetParamValueSize(id), 0);
            for (std::size_t i = 0; i < bytes.size(); ++i)
            {
                bytes[i] = static_cast<unsigned char>(id + i);
            }
            QZ::Variant value;
            value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            static_cast<void>(engine->SetParamValue(QZ::ParamDescriptor(id), value));
        }
        DrainQueue();
    }

    LApplication mApplication;
    QZ::RCPtr<QZ::LPresetManager> mManager;
    fs::path mFolder;
    QZ::WideString mPath;
};

void SavePresetFile(benchmark::State& state)
{
    PresetBench bench;
    for (auto _ : state)
    {
        if (bench.Manager().SavePresetFile(bench.Path()) != QZ::S_OK)
        {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(SavePresetFile)->Unit(benchmark::kMicrosecond);

void SavePresetFileWithoutFileSync(benchmark::State& state)
{
    PresetBench bench;
    UnsyncedFileWriter file;
    for (auto _ : state)
    {
        if (bench.Manager().SavePresetFile(bench.Path(), file) != QZ::S_OK)
        {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(SavePresetFileWithoutFileSync)->Unit(benchmark::kMicrosecond);

void LoadPresetFile(benchmark::State& state)
{
    PresetBench bench;
    if (bench.Manager().SavePresetFile(bench.Path()) != QZ::S_OK)
    {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state)
    {
        if (bench.Manager().LoadPresetFile(bench.Path()) != QZ::kPresetFileLoaded)
        {
            state.SkipWithError("load failed");
            break;
        }
        state.PauseTiming();
        PresetBench::DrainQueue();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadPresetFile)->Unit(benchmark::kMicrosecond);

} // namespace
