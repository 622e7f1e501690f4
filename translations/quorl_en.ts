<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="NoSongsLoaded">
        <source>No songs loaded</source>
        <translation>No songs loaded</translation>
    </message>
    <message id="Reading">
        <source>Reading…</source>
        <translation>Reading…</translation>
    </message>
    <message id="ReadingXOfY">
        <source>Reading %1 of %2…</source>
        <translation>Reading %1 of %2…</translation>
    </message>
    <message id="Add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="AddMusicFilesToEdit">
        <source>Choose music files or folders to edit</source>
        <translation>Choose music files or folders to edit</translation>
    </message>
    <message id="AddingIndividualFiles">
        <source>Adding individual files</source>
        <translation>Adding individual files</translation>
    </message>
    <message id="CantRenameIndividuallyAddedFilesOutsideStandardFolders">
        <source>Files added one by one from outside your Music and Downloads folders cannot be renamed. Add their folder instead to be able to rename them.</source>
        <translation>Files added one by one from outside your Music and Downloads folders cannot be renamed. Add their folder instead to be able to rename them.</translation>
    </message>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="DontShowAgain">
        <source>Don’t Show Again</source>
        <translation>Don’t Show Again</translation>
    </message>
    <message id="1SongLoadedNSelected">
        <source>1 song loaded, %1 selected</source>
        <translation>1 song loaded, %1 selected</translation>
    </message>
    <message id="NSongsLoadedNSelected">
        <source>%1 songs loaded, %2 selected</source>
        <translation>%1 songs loaded, %2 selected</translation>
    </message>
    <message id="CampaignTitle">
        <source>Enjoying Quorl?</source>
        <translation>Enjoying Quorl?</translation>
    </message>
    <message id="CampaignText">
        <source>A short review helps other people find Quorl. Would you like to write one now?</source>
        <translation>A short review helps other people find Quorl. Would you like to write one now?</translation>
    </message>
    <message id="CampaignPositive">
        <source>Write a Review</source>
        <translation>Write a Review</translation>
    </message>
    <message id="CampaignLater">
        <source>Later</source>
        <translation>Later</translation>
    </message>
    <message id="CampaignNegative">
        <source>No, Thanks</source>
        <translation>No, Thanks</translation>
    </message>
    <message id="PixelSizeXByX">
        <source>%1 × %1 px</source>
        <translation>%1 × %1 px</translation>
    </message>
    <message id="CliUsage">
        <source>Usage: quorl-cli [GLOBAL OPTIONS] COMMAND [OPTIONS] [PATH...]</source>
        <translation>Usage: quorl-cli [GLOBAL OPTIONS] COMMAND [OPTIONS] [PATH...]</translation>
    </message>
    <message id="CliCommandUsageXY">
        <source>Usage: quorl-cli [GLOBAL OPTIONS] %1 [OPTIONS] %2</source>
        <translation>Usage: quorl-cli [GLOBAL OPTIONS] %1 [OPTIONS] %2</translation>
    </message>
    <message id="CliGlobalOptions">
        <source>Global options:</source>
        <translation>Global options:</translation>
    </message>
    <message id="CliCommands">
        <source>Commands:</source>
        <translation>Commands:</translation>
    </message>
    <message id="CliCommandOptions">
        <source>Options:</source>
        <translation>Options:</translation>
    </message>
    <message id="CliCommandHelpHint">
        <source>Run 'quorl-cli COMMAND --help' for the options of a command.</source>
        <translation>Run 'quorl-cli COMMAND --help' for the options of a command.</translation>
    </message>
    <message id="CliExitStatus">
        <source>Exit status:</source>
        <translation>Exit status:</translation>
    </message>
    <message id="CliExitSuccess">
        <source>everything done</source>
        <translation>everything done</translation>
    </message>
    <message id="CliExitFailures">
        <source>some songs not named, tagged, saved or renamed; a failed import or lookup; a given path that does not exist or is no music file; an output that could not be written</source>
        <translation>some songs not named, tagged, saved or renamed; a failed import or lookup; a given path that does not exist or is no music file; an output that could not be written</translation>
    </message>
    <message id="CliExitUsage">
        <source>usage error</source>
        <translation>usage error</translation>
    </message>
    <message id="CliExitInterrupted">
        <source>Ctrl-C stopped the save: the file in hand was finished, no further file was saved</source>
        <translation>Ctrl-C stopped the save: the file in hand was finished, no further file was saved</translation>
    </message>
    <message id="CliExitTerminated">
        <source>SIGTERM stopped the save, as Ctrl-C does</source>
        <translation>SIGTERM stopped the save, as Ctrl-C does</translation>
    </message>
    <message id="CliUsageHint">
        <source>Run 'quorl-cli --help' for usage.</source>
        <translation>Run 'quorl-cli --help' for usage.</translation>
    </message>
    <message id="CliMissingCommand">
        <source>no command given</source>
        <translation>no command given</translation>
    </message>
    <message id="CliUnknownCommandX">
        <source>unknown command '%1'</source>
        <translation>unknown command '%1'</translation>
    </message>
    <message id="CliUnknownOptionX">
        <source>unknown option '%1'</source>
        <translation>unknown option '%1'</translation>
    </message>
    <message id="CliOptionTakesNoValueX">
        <source>option '%1' takes no value</source>
        <translation>option '%1' takes no value</translation>
    </message>
    <message id="CliMissingValueX">
        <source>option '%1' needs a value</source>
        <translation>option '%1' needs a value</translation>
    </message>
    <message id="CliSettingNeedsValueX">
        <source>'-D %1' must have the form KEY=VALUE</source>
        <translation>'-D %1' must have the form KEY=VALUE</translation>
    </message>
    <message id="CliUnknownSettingX">
        <source>unknown setting '%1'</source>
        <translation>unknown setting '%1'</translation>
    </message>
    <message id="CliBadSettingValueXY">
        <source>'%1' is not a valid value for the setting %2</source>
        <translation>'%1' is not a valid value for the setting %2</translation>
    </message>
    <message id="CliMissingPaths">
        <source>no files or folders given</source>
        <translation>no files or folders given</translation>
    </message>
    <message id="CliHelpOptionSetting">
        <source>use VALUE for the setting KEY during this run only</source>
        <translation>use VALUE for the setting KEY during this run only</translation>
    </message>
    <message id="CliHelpOptionJson">
        <source>machine-readable output: the songs as JSON after the command (with --dry-run, with their changes)</source>
        <translation>machine-readable output: the songs as JSON after the command (with --dry-run, with their changes)</translation>
    </message>
    <message id="CliHelpOptionDryRun">
        <source>do everything except writing or renaming files; print per song each field that would change (old → new) and the file name with its rename status (unchanged, ok, case-only, collision, exists, invalid, too-long, failed, not-named, not-renamable; with --json for every song), then the counts</source>
        <translation>do everything except writing or renaming files; print per song each field that would change (old → new) and the file name with its rename status (unchanged, ok, case-only, collision, exists, invalid, too-long, failed, not-named, not-renamable; with --json for every song), then the counts</translation>
    </message>
    <message id="CliHelpOptionForce">
        <source>save every song, not only the modified ones, rebuilding each tag from the song's values: fields Quorl does not edit (ReplayGain, MusicBrainz identifiers, BPM, grouping…) are removed</source>
        <translation>save every song, not only the modified ones, rebuilding each tag from the song's values: fields Quorl does not edit (ReplayGain, MusicBrainz identifiers, BPM, grouping…) are removed</translation>
    </message>
    <message id="CliHelpOptionSort">
        <source>order the loaded songs before the command by song properties, e.g. -year,track (a leading - for descending; numbers in natural order)</source>
        <translation>order the loaded songs before the command by song properties, e.g. -year,track (a leading - for descending; numbers in natural order)</translation>
    </message>
    <message id="CliHelpOptionYes">
        <source>answer every question with its affirmative button</source>
        <translation>answer every question with its affirmative button</translation>
    </message>
    <message id="CliHelpOptionQuiet">
        <source>show no progress on standard error (progress is only shown when standard error is a terminal)</source>
        <translation>show no progress on standard error (progress is only shown when standard error is a terminal)</translation>
    </message>
    <message id="CliHelpOptionHelp">
        <source>show this help</source>
        <translation>show this help</translation>
    </message>
    <message id="CliHelpOptionVersion">
        <source>show the version</source>
        <translation>show the version</translation>
    </message>
    <message id="CliHelpOptionExtract">
        <source>write each distinct picture once into DIR as &lt;md5&gt;.jpg or .png</source>
        <translation>write each distinct picture once into DIR as &lt;md5&gt;.jpg or .png</translation>
    </message>
    <message id="CliSummaryRead">
        <source>print the songs</source>
        <translation>print the songs</translation>
    </message>
    <message id="CliSummaryCovers">
        <source>list the pictures of each song; --extract writes them to a folder</source>
        <translation>list the pictures of each song; --extract writes them to a folder</translation>
    </message>
    <message id="CliChooseButtonX">
        <source>Choose %1:</source>
        <translation>Choose %1:</translation>
    </message>
    <message id="CliPathNotUtf8X">
        <source>skipped (the name is not valid UTF-8): %1</source>
        <translation>skipped (the name is not valid UTF-8): %1</translation>
    </message>
    <message id="CliPathMissingX">
        <source>skipped (no such file or folder): %1</source>
        <translation>skipped (no such file or folder): %1</translation>
    </message>
    <message id="CliPathBrokenLinkX">
        <source>skipped (a link to nothing): %1</source>
        <translation>skipped (a link to nothing): %1</translation>
    </message>
    <message id="CliFolderNotListedX">
        <source>skipped (the folder cannot be listed): %1</source>
        <translation>skipped (the folder cannot be listed): %1</translation>
    </message>
    <message id="CliPathNotMusicX">
        <source>skipped (not a music file): %1</source>
        <translation>skipped (not a music file): %1</translation>
    </message>
    <message id="CliLoadingCancelled">
        <source>Nothing was loaded: the question was declined.</source>
        <translation>Nothing was loaded: the question was declined.</translation>
    </message>
    <message id="CliFieldFileName">
        <source>File name</source>
        <translation>File name</translation>
    </message>
    <message id="CliFieldTrack">
        <source>Track</source>
        <translation>Track</translation>
    </message>
    <message id="CliFieldDisc">
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message id="CliFieldTitle">
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message id="CliFieldArtist">
        <source>Artist</source>
        <translation>Artist</translation>
    </message>
    <message id="CliFieldAlbumArtist">
        <source>Album artist</source>
        <translation>Album artist</translation>
    </message>
    <message id="CliFieldAlbum">
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message id="CliFieldComposer">
        <source>Composer</source>
        <translation>Composer</translation>
    </message>
    <message id="CliFieldGenre">
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message id="CliFieldYear">
        <source>Year</source>
        <translation>Year</translation>
    </message>
    <message id="CliFieldComment">
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message id="CliFieldLyrics">
        <source>Lyrics</source>
        <translation>Lyrics</translation>
    </message>
    <message id="CliFieldCompilation">
        <source>Compilation</source>
        <translation>Compilation</translation>
    </message>
    <message id="CliFieldLength">
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message id="CliFieldBitrate">
        <source>Bit rate</source>
        <translation>Bit rate</translation>
    </message>
    <message id="CliFieldPicture">
        <source>Picture</source>
        <translation>Picture</translation>
    </message>
    <message id="CliFieldPictures">
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message id="CliFieldRenamable">
        <source>Renamable</source>
        <translation>Renamable</translation>
    </message>
    <message id="CliNLines">
        <source>%1 lines</source>
        <translation>%1 lines</translation>
    </message>
    <message id="CliYes">
        <source>yes</source>
        <translation>yes</translation>
    </message>
    <message id="CliNo">
        <source>no</source>
        <translation>no</translation>
    </message>
    <message id="CliNKbits">
        <source>%1 kbit/s</source>
        <translation>%1 kbit/s</translation>
    </message>
    <message id="CliPictureXYZW">
        <source>%1, %2 × %3, %4 bytes</source>
        <translation>%1, %2 × %3, %4 bytes</translation>
    </message>
    <message id="CliPictureLineXYZWV">
        <source>%1. %2  %3  %4 × %5  %6 bytes</source>
        <translation>%1. %2  %3  %4 × %5  %6 bytes</translation>
    </message>
    <message id="CliNoPictures">
        <source>(no pictures)</source>
        <translation>(no pictures)</translation>
    </message>
    <message id="CliPictureWritten">
        <source>written:</source>
        <translation>written:</translation>
    </message>
    <message id="CliPictureAlreadyPresent">
        <source>already there:</source>
        <translation>already there:</translation>
    </message>
    <message id="CliPictureWouldBeWritten">
        <source>would be written:</source>
        <translation>would be written:</translation>
    </message>
    <message id="CliPictureNotWritten">
        <source>not written:</source>
        <translation>not written:</translation>
    </message>
    <message id="CliCannotWriteOutputX">
        <source>cannot write to standard output: %1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message id="CliCannotWritePictureXY">
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message id="CliDifferentFileExists">
        <source>a different file with that name exists</source>
        <translation>a different file with that name exists</translation>
    </message>
    <message id="CliCannotMakeFolder">
        <source>the folder cannot be made</source>
        <translation>the folder cannot be made</translation>
    </message>
    <message id="AddImageFilesToEmbed">
        <source>Choose picture files (JPEG or PNG) to embed in the selected songs.</source>
        <translation>Choose picture files (JPEG or PNG) to embed in the selected songs.</translation>
    </message>
    <message id="NoImages">
        <source>No pictures</source>
        <translation>No pictures</translation>
    </message>
    <message id="1Image">
        <source>1 picture</source>
        <translation>1 picture</translation>
    </message>
    <message id="NImages">
        <source>Picture %1 of %2</source>
        <translation>Picture %1 of %2</translation>
    </message>
    <message id="PixelSizeXByY">
        <source>%1 × %2 px</source>
        <translation>%1 × %2 px</translation>
    </message>
    <message id="SavingFiles">
        <source>Saving files…</source>
        <translation>Saving files…</translation>
    </message>
    <message id="SavingXOfY">
        <source>Saving %1 of %2…</source>
        <translation>Saving %1 of %2…</translation>
    </message>
    <message id="FileWasNotSaved">
        <source>The file “%1” was not saved.
</source>
        <translation>The file “%1” was not saved.
</translation>
    </message>
    <message id="FileWasNotRenamedTo">
        <source>The file “%1” was not renamed to “%2”.
</source>
        <translation>The file “%1” was not renamed to “%2”.
</translation>
    </message>
    <message id="FileWasNotRenamed">
        <source>The file was not renamed to “%1”.
</source>
        <translation>The file was not renamed to “%1”.
</translation>
    </message>
    <message id="FileNameInvalidXY">
        <source>The file “%1” was not renamed to “%2”: that is not a usable file name.
</source>
        <translation>The file “%1” was not renamed to “%2”: that is not a usable file name.
</translation>
    </message>
    <message id="FileNameTooLongXYZ">
        <source>The file “%1” was not renamed to “%2”: the name is longer than the %3 bytes its folder allows.
</source>
        <translation>The file “%1” was not renamed to “%2”: the name is longer than the %3 bytes its folder allows.
</translation>
    </message>
    <message id="InterruptedRenameLeftFileXY">
        <source>An interrupted rename left “%1” behind: it could not get its name “%2” back (another file has it, or the folder may not be written).</source>
        <translation>An interrupted rename left “%1” behind: it could not get its name “%2” back (another file has it, or the folder may not be written).</translation>
    </message>
    <message id="CouldNotSaveOneOrMoreFiles">
        <source>One or more files could not be saved.</source>
        <translation>One or more files could not be saved.</translation>
    </message>
    <message id="MakeSurePermissionsCorrect">
        <source>Make sure that the files and their folders may be written, and that no other file has the new name.</source>
        <translation>Make sure that the files and their folders may be written, and that no other file has the new name.</translation>
    </message>
    <message id="ShowDetails">
        <source>Show Details</source>
        <translation>Show Details</translation>
    </message>
    <message id="ErrorDetails">
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message id="UnsavedChanges">
        <source>Some songs have unsaved changes.</source>
        <translation>Some songs have unsaved changes.</translation>
    </message>
    <message id="DoYouWantToSaveChanges">
        <source>Do you want to save the changes before quitting?</source>
        <translation>Do you want to save the changes before quitting?</translation>
    </message>
    <message id="Save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="DontSave">
        <source>Don’t Save</source>
        <translation>Don’t Save</translation>
    </message>
    <message id="ThereIsOneMoreEntry">
        <source>…and %1 more entry.</source>
        <translation>…and %1 more entry.</translation>
    </message>
    <message id="ThereAreMoreEntries">
        <source>…and %1 more entries.</source>
        <translation>…and %1 more entries.</translation>
    </message>
    <message id="Album">
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message id="AlbumArtist">
        <source>Album Artist</source>
        <translation>Album Artist</translation>
    </message>
    <message id="Artist">
        <source>Artist</source>
        <translation>Artist</translation>
    </message>
    <message id="Disc">
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message id="DiscTotal">
        <source>Disc Total</source>
        <translation>Disc Total</translation>
    </message>
    <message id="Genre">
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message id="Title">
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message id="Track">
        <source>Track</source>
        <translation>Track</translation>
    </message>
    <message id="TrackTotal">
        <source>Track Total</source>
        <translation>Track Total</translation>
    </message>
    <message id="Year">
        <source>Year</source>
        <translation>Year</translation>
    </message>
    <message id="Comment">
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message id="Composer">
        <source>Composer</source>
        <translation>Composer</translation>
    </message>
    <message id="FileName">
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message id="FilePath">
        <source>File Path</source>
        <translation>File Path</translation>
    </message>
    <message id="Compilation">
        <source>Compilation</source>
        <translation>Compilation</translation>
    </message>
    <message id="Bitrate">
        <source>Bit Rate</source>
        <translation>Bit Rate</translation>
    </message>
    <message id="Length">
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message id="XIsNotAValidTokenString">
        <source>“%1” is not a valid token string.</source>
        <translation>“%1” is not a valid token string.</translation>
    </message>
    <message id="XIsNotAValidToken">
        <source>“%1” is not a valid token.</source>
        <translation>“%1” is not a valid token.</translation>
    </message>
    <message id="PatternHasUnknownTokenX">
        <source>The pattern names “{%1}”, which is not a token. Literal braces are written “{{” and “}}”.</source>
        <translation>The pattern names “{%1}”, which is not a token. Literal braces are written “{{” and “}}”.</translation>
    </message>
    <message id="PatternHasUnclosedBraceX">
        <source>The brace in “%1” is never closed. Literal braces are written “{{” and “}}”.</source>
        <translation>The brace in “%1” is never closed. Literal braces are written “{{” and “}}”.</translation>
    </message>
    <message id="CannotBeRenamedNewLine">
        <source>“%1” cannot be renamed.
</source>
        <translation>“%1” cannot be renamed.
</translation>
    </message>
    <message id="WasNotRenamedMissingNewLine">
        <source>“%1” was not renamed: %2 missing.
</source>
        <translation>“%1” was not renamed: %2 missing.
</translation>
    </message>
    <message id="WasNotRenamedBracket">
        <source>“%1” was not renamed: </source>
        <translation>“%1” was not renamed: </translation>
    </message>
    <message id="MissingNewLine">
        <source> missing.
</source>
        <translation> missing.
</translation>
    </message>
    <message id="QuorlCouldNotChangeFileNamesOfOneOrMoreSongs">
        <source>Quorl could not change the file names of one or more songs.</source>
        <translation>Quorl could not change the file names of one or more songs.</translation>
    </message>
    <message id="MakeSureRelevantSongInformationCorrectlySet">
        <source>Make sure the song information the file names are built from is set.</source>
        <translation>Make sure the song information the file names are built from is set.</translation>
    </message>
    <message id="TagsNeedToBeSeparatedByAtLeastOneCharacter">
        <source>Tags need to be separated by at least one character.</source>
        <translation>Tags need to be separated by at least one character.</translation>
    </message>
    <message id="TheSourceDoesntContainX">
        <source>The %1 doesn’t contain “%2”.</source>
        <translation>The %1 doesn’t contain “%2”.</translation>
    </message>
    <message id="WasNotTaggedCompletelyNewLine">
        <source>“%1” was not tagged completely: %2
</source>
        <translation>“%1” was not tagged completely: %2
</translation>
    </message>
    <message id="CouldNotTag1OrMoreSongs">
        <source>Could not tag one or more songs.</source>
        <translation>Could not tag one or more songs.</translation>
    </message>
    <message id="MakeSurePatternAndSourceMatch">
        <source>Make sure the pattern matches the %1 of each song.</source>
        <translation>Make sure the pattern matches the %1 of each song.</translation>
    </message>
    <message id="AddressXIsNotHttp">
        <source>Only http and https addresses can be fetched: %1</source>
        <translation>Only http and https addresses can be fetched: %1</translation>
    </message>
    <message id="RedirectToXRefused">
        <source>The server redirected to an address that is not fetched: %1</source>
        <translation>The server redirected to an address that is not fetched: %1</translation>
    </message>
    <message id="ResponseLargerThanXMiB">
        <source>The response is larger than %1 MiB.</source>
        <translation>The response is larger than %1 MiB.</translation>
    </message>
    <message id="NoProgressForXSeconds">
        <source>The download made no progress for %1 seconds.</source>
        <translation>The download made no progress for %1 seconds.</translation>
    </message>
    <message id="UnreadableResponseXAtOffsetX">
        <source>The response could not be read: %1 (at byte %2).</source>
        <translation>The response could not be read: %1 (at byte %2).</translation>
    </message>
    <message id="Export">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="ExportSelectedSongsAsTsv">
        <source>Choose where to save the song list of the selected songs.</source>
        <translation>Choose where to save the song list of the selected songs.</translation>
    </message>
    <message id="CouldNotExport">
        <source>The song list could not be exported.</source>
        <translation>The song list could not be exported.</translation>
    </message>
    <message id="CouldNotWriteFileXY">
        <source>“%1” could not be written: %2</source>
        <translation>“%1” could not be written: %2</translation>
    </message>
    <message id="Import">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="SelectTsvSongListToApply">
        <source>Select a tab-separated song list to apply to your selected songs.</source>
        <translation>Select a tab-separated song list to apply to your selected songs.</translation>
    </message>
    <message id="CouldNotImport">
        <source>The song list could not be imported.</source>
        <translation>The song list could not be imported.</translation>
    </message>
    <message id="MakeSureTsvCorrect">
        <source>Make sure the song list is tab-separated, has a header line and one line for each selected song.</source>
        <translation>Make sure the song list is tab-separated, has a header line and one line for each selected song.</translation>
    </message>
    <message id="CouldNotParse">
        <source>The song list could not be read.</source>
        <translation>The song list could not be read.</translation>
    </message>
    <message id="NumberOfTabsNotConsistent">
        <source>Line %1 has a different number of tabs than the lines before it.</source>
        <translation>Line %1 has a different number of tabs than the lines before it.</translation>
    </message>
    <message id="NotAValidTrackTagInRecordError">
        <source>Song %1: the track is not a number or a pair of numbers such as 3/12.
</source>
        <translation>Song %1: the track is not a number or a pair of numbers such as 3/12.
</translation>
    </message>
    <message id="NotAValidFileNameInRecordError">
        <source>Song %1: the file name is not usable (nothing but dots before the extension, or longer than its folder allows).
</source>
        <translation>Song %1: the file name is not usable (nothing but dots before the extension, or longer than its folder allows).
</translation>
    </message>
    <message id="NotAValidDiscTagInRecordError">
        <source>Song %1: the disc is not a number or a pair of numbers such as 1/2.
</source>
        <translation>Song %1: the disc is not a number or a pair of numbers such as 1/2.
</translation>
    </message>
    <message id="NotAValidYearInRecordError">
        <source>Song %1: the year is not a number.
</source>
        <translation>Song %1: the year is not a number.
</translation>
    </message>
    <message id="TooManyFieldsInRecordError">
        <source>Song %1 has more values than the header line has column names.
</source>
        <translation>Song %1 has more values than the header line has column names.
</translation>
    </message>
    <message id="NumberOfSelectedAndImportedSongsDoNotMatch">
        <source>The number of songs in the list does not match the number of selected songs.
</source>
        <translation>The number of songs in the list does not match the number of selected songs.
</translation>
    </message>
    <message id="CliSummaryEdit">
        <source>set tag fields, the file name and the pictures of the songs, then save</source>
        <translation>set tag fields, the file name and the pictures of the songs, then save</translation>
    </message>
    <message id="CliSummaryName">
        <source>name the files from their tags, then save (renames)</source>
        <translation>name the files from their tags, then save (renames)</translation>
    </message>
    <message id="CliSummaryExtract">
        <source>fill tags from the file names or titles, then save</source>
        <translation>fill tags from the file names or titles, then save</translation>
    </message>
    <message id="CliSummaryCompose">
        <source>set the title or comment from the songs' own values, then save</source>
        <translation>set the title or comment from the songs' own values, then save</translation>
    </message>
    <message id="CliSummaryNumber">
        <source>number the tracks in list order, then save</source>
        <translation>number the tracks in list order, then save</translation>
    </message>
    <message id="CliSummaryCase">
        <source>change the capitalization of the text fields, then save</source>
        <translation>change the capitalization of the text fields, then save</translation>
    </message>
    <message id="CliSummaryAllInOne">
        <source>number, capitalize and name the songs, then save</source>
        <translation>number, capitalize and name the songs, then save</translation>
    </message>
    <message id="CliHelpOptionClear">
        <source>empty the field (title, artist, album-artist, composer, album, track, disc, genre, year, comment, lyrics, compilation); repeatable</source>
        <translation>empty the field (title, artist, album-artist, composer, album, track, disc, genre, year, comment, lyrics, compilation); repeatable</translation>
    </message>
    <message id="CliHelpOptionTrack">
        <source>set the track number and count</source>
        <translation>set the track number and count</translation>
    </message>
    <message id="CliHelpOptionTitle">
        <source>set the title</source>
        <translation>set the title</translation>
    </message>
    <message id="CliHelpOptionArtist">
        <source>set the artist</source>
        <translation>set the artist</translation>
    </message>
    <message id="CliHelpOptionAlbumArtist">
        <source>set the album artist</source>
        <translation>set the album artist</translation>
    </message>
    <message id="CliHelpOptionComposer">
        <source>set the composer</source>
        <translation>set the composer</translation>
    </message>
    <message id="CliHelpOptionAlbum">
        <source>set the album</source>
        <translation>set the album</translation>
    </message>
    <message id="CliHelpOptionDisc">
        <source>set the disc number and count</source>
        <translation>set the disc number and count</translation>
    </message>
    <message id="CliHelpOptionGenre">
        <source>set the genre</source>
        <translation>set the genre</translation>
    </message>
    <message id="CliHelpOptionYear">
        <source>set the year (empty clears it)</source>
        <translation>set the year (empty clears it)</translation>
    </message>
    <message id="CliHelpOptionComment">
        <source>set the comment</source>
        <translation>set the comment</translation>
    </message>
    <message id="CliHelpOptionLyrics">
        <source>set the lyrics</source>
        <translation>set the lyrics</translation>
    </message>
    <message id="CliHelpOptionCompilation">
        <source>mark the songs as part of a compilation (1) or not (0)</source>
        <translation>mark the songs as part of a compilation (1) or not (0)</translation>
    </message>
    <message id="CliHelpOptionFileName">
        <source>set the file name; it must keep the file's extension</source>
        <translation>set the file name; it must keep the file's extension</translation>
    </message>
    <message id="CliHelpOptionRemoveCovers">
        <source>remove every picture</source>
        <translation>remove every picture</translation>
    </message>
    <message id="CliHelpOptionAddCover">
        <source>add the JPEG or PNG picture in FILE; repeatable</source>
        <translation>add the JPEG or PNG picture in FILE; repeatable</translation>
    </message>
    <message id="CliHelpOptionNameScheme">
        <source>artist-title, track-title, track-artist-title or custom</source>
        <translation>artist-title, track-title, track-artist-title or custom</translation>
    </message>
    <message id="CliHelpOptionExtractScheme">
        <source>track-title, track-artist-title or custom</source>
        <translation>track-title, track-artist-title or custom</translation>
    </message>
    <message id="CliHelpOptionComposeScheme">
        <source>title-track or custom</source>
        <translation>title-track or custom</translation>
    </message>
    <message id="CliHelpOptionPattern">
        <source>use this pattern (e.g. '{Track} - {Title}'); implies the custom scheme</source>
        <translation>use this pattern (e.g. '{Track} - {Title}'); implies the custom scheme</translation>
    </message>
    <message id="CliHelpOptionSource">
        <source>read from fileNameWithoutExtension or title</source>
        <translation>read from fileNameWithoutExtension or title</translation>
    </message>
    <message id="CliHelpOptionTarget">
        <source>write into title or comment (custom scheme only)</source>
        <translation>write into title or comment (custom scheme only)</translation>
    </message>
    <message id="CliHelpOptionDiscStarts">
        <source>the positions in the list where each disc begins, from 1, optionally ending with the song count plus 1 (1,4,9 or 1,4 for 8 songs)</source>
        <translation>the positions in the list where each disc begins, from 1, optionally ending with the song count plus 1 (1,4,9 or 1,4 for 8 songs)</translation>
    </message>
    <message id="CliHelpOptionMode">
        <source>title, upper or lower</source>
        <translation>title, upper or lower</translation>
    </message>
    <message id="CliHelpOptionKeepCapitals">
        <source>in title case, keep capitals inside words</source>
        <translation>in title case, keep capitals inside words</translation>
    </message>
    <message id="CliBadOptionValueXY">
        <source>'%1' is not a valid value for %2</source>
        <translation>'%1' is not a valid value for %2</translation>
    </message>
    <message id="CliBadChoiceXYZ">
        <source>'%1' is not a valid value for %2 (choose %3)</source>
        <translation>'%1' is not a valid value for %2 (choose %3)</translation>
    </message>
    <message id="CliPatternNeedsCustomScheme">
        <source>--pattern can only be used with the custom scheme</source>
        <translation>--pattern can only be used with the custom scheme</translation>
    </message>
    <message id="CliPatternHasNeighbouringTokens">
        <source>--pattern: two tokens next to each other cannot be told apart; put text between them</source>
        <translation>--pattern: two tokens next to each other cannot be told apart; put text between them</translation>
    </message>
    <message id="CliTargetNeedsCustomScheme">
        <source>--target needs the custom scheme: the title-track scheme always writes the title</source>
        <translation>--target needs the custom scheme: the title-track scheme always writes the title</translation>
    </message>
    <message id="CliDiscStartBeyondSongsXY">
        <source>disc start %1 lies beyond the end of the list of %2 songs</source>
        <translation>disc start %1 lies beyond the end of the list of %2 songs</translation>
    </message>
    <message id="CliEmptyPatternX">
        <source>%1: the pattern is empty</source>
        <translation>%1: the pattern is empty</translation>
    </message>
    <message id="CliNoStoredPatternX">
        <source>the custom scheme has no pattern (%1 is empty): give one with --pattern</source>
        <translation>the custom scheme has no pattern (%1 is empty): give one with --pattern</translation>
    </message>
    <message id="CliSettingAllowsXYZ">
        <source>'%1' is not a valid value for the setting %2 (allowed: %3)</source>
        <translation>'%1' is not a valid value for the setting %2 (allowed: %3)</translation>
    </message>
    <message id="CliSettingNeedsPatternXY">
        <source>'%1' is not a pattern for the setting %2: a list of texts and {"tokenField": TOKEN} records</source>
        <translation>'%1' is not a pattern for the setting %2: a list of texts and {"tokenField": TOKEN} records</translation>
    </message>
    <message id="CliAllowedTexts">
        <source>a list of texts</source>
        <translation>a list of texts</translation>
    </message>
    <message id="CliAllowedPositiveNumber">
        <source>a positive number</source>
        <translation>a positive number</translation>
    </message>
    <message id="CliAllowedWebAddress">
        <source>an http or https address</source>
        <translation>an http or https address</translation>
    </message>
    <message id="CliHelpOptionFormat">
        <source>print one line per song from PATTERN ('{Artist} - {Title}'; any token, {File Path} included)</source>
        <translation>print one line per song from PATTERN ('{Artist} - {Title}'; any token, {File Path} included)</translation>
    </message>
    <message id="CliHelpOptionFields">
        <source>print the songs as JSON with only these keys (title,artist,...)</source>
        <translation>print the songs as JSON with only these keys (title,artist,...)</translation>
    </message>
    <message id="CliFormatOrFields">
        <source>--format and --fields cannot be used together</source>
        <translation>--format and --fields cannot be used together</translation>
    </message>
    <message id="CliFormatOrJson">
        <source>--format prints text: leave out --json, or use --fields</source>
        <translation>--format prints text: leave out --json, or use --fields</translation>
    </message>
    <message id="CliManManual">
        <source>Quorl</source>
        <translation>Quorl</translation>
    </message>
    <message id="CliManNameHeading">
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message id="CliManName">
        <source>edit the tags of music files from the command line</source>
        <translation>edit the tags of music files from the command line</translation>
    </message>
    <message id="CliManSynopsisHeading">
        <source>SYNOPSIS</source>
        <translation>SYNOPSIS</translation>
    </message>
    <message id="CliManDescriptionHeading">
        <source>DESCRIPTION</source>
        <translation>DESCRIPTION</translation>
    </message>
    <message id="CliManDescription">
        <source>quorl-cli loads the files and folders given (folders walked depth first in name order, music files only) as the desktop application adds them, runs one command on all of them in list order, and, for a command that changes songs, saves them. Patterns are text with token strings in braces, such as {Track} - {Artist} - {Title}; {{ and }} stand for braces. Standard error carries the reports; standard output carries what scripts read.</source>
        <translation>quorl-cli loads the files and folders given (folders walked depth first in name order, music files only) as the desktop application adds them, runs one command on all of them in list order, and, for a command that changes songs, saves them. Patterns are text with token strings in braces, such as {Track} - {Artist} - {Title}; {{ and }} stand for braces. Standard error carries the reports; standard output carries what scripts read.</translation>
    </message>
    <message id="CliManOptionsHeading">
        <source>GLOBAL OPTIONS</source>
        <translation>GLOBAL OPTIONS</translation>
    </message>
    <message id="CliManCommandsHeading">
        <source>COMMANDS</source>
        <translation>COMMANDS</translation>
    </message>
    <message id="CliManExitHeading">
        <source>EXIT STATUS</source>
        <translation>EXIT STATUS</translation>
    </message>
    <message id="CliManFilesHeading">
        <source>FILES</source>
        <translation>FILES</translation>
    </message>
    <message id="CliManSettingsFile">
        <source>the settings, shared with the desktop application; -D overrides one for a single run</source>
        <translation>the settings, shared with the desktop application; -D overrides one for a single run</translation>
    </message>
    <message id="CliCannotReadCoverXY">
        <source>cannot read the picture %1: %2</source>
        <translation>cannot read the picture %1: %2</translation>
    </message>
    <message id="CliCoverNotPictureX">
        <source>%1 is neither a JPEG nor a PNG picture</source>
        <translation>%1 is neither a JPEG nor a PNG picture</translation>
    </message>
    <message id="CliFileNameChangesTypeXY">
        <source>%1: the new file name must end in .%2</source>
        <translation>%1: the new file name must end in .%2</translation>
    </message>
    <message id="CliNothingChanged">
        <source>Nothing was changed or saved.</source>
        <translation>Nothing was changed or saved.</translation>
    </message>
    <message id="CliSaveSummaryXY">
        <source>Files saved: %1. Files renamed: %2.</source>
        <translation>Files saved: %1. Files renamed: %2.</translation>
    </message>
    <message id="CliDryRunSummaryXY">
        <source>Dry run, nothing was written. Files to save: %1. Files to rename: %2.</source>
        <translation>Dry run, nothing was written. Files to save: %1. Files to rename: %2.</translation>
    </message>
    <message id="CliSaveInterruptedXY">
        <source>Save stopped. Files saved: %1. Files not saved: %2.</source>
        <translation>Save stopped. Files saved: %1. Files not saved: %2.</translation>
    </message>
    <message id="CliSearchStopped">
        <source>Search stopped.</source>
        <translation>Search stopped.</translation>
    </message>
    <message id="CliAnsweredX">
        <source>Answered: %1</source>
        <translation>Answered: %1</translation>
    </message>
    <message id="SearchingDiscogsForX">
        <source>Searching Discogs for “%1”…</source>
        <translation>Searching Discogs for “%1”…</translation>
    </message>
    <message id="FetchingReleaseInformation">
        <source>Fetching release information…</source>
        <translation>Fetching release information…</translation>
    </message>
    <message id="WaitingToDownloadRelease">
        <source>Waiting to download the release…</source>
        <translation>Waiting to download the release…</translation>
    </message>
    <message id="WaitingToDownloadReleases">
        <source>Waiting to download the releases…</source>
        <translation>Waiting to download the releases…</translation>
    </message>
    <message id="ProcessingNReleases">
        <source>Processing %1 releases…</source>
        <translation>Processing %1 releases…</translation>
    </message>
    <message id="WaitingToDownloadCover">
        <source>Waiting to download the cover…</source>
        <translation>Waiting to download the cover…</translation>
    </message>
    <message id="WaitingToDownloadCovers">
        <source>Waiting to download the covers…</source>
        <translation>Waiting to download the covers…</translation>
    </message>
    <message id="LoadingNCovers">
        <source>Loading %1 covers…</source>
        <translation>Loading %1 covers…</translation>
    </message>
    <message id="SearchCompleted">
        <source>Search completed</source>
        <translation>Search completed</translation>
    </message>
    <message id="NoSearchResultsFound">
        <source>No search results found</source>
        <translation>No search results found</translation>
    </message>
    <message id="1SearchResult">
        <source>1 search result</source>
        <translation>1 search result</translation>
    </message>
    <message id="NSearchResults">
        <source>%1 search results</source>
        <translation>%1 search results</translation>
    </message>
    <message id="NoCovers">
        <source>, no covers</source>
        <translation>, no covers</translation>
    </message>
    <message id="1Cover">
        <source>, 1 cover</source>
        <translation>, 1 cover</translation>
    </message>
    <message id="NCovers">
        <source>, %1 covers</source>
        <translation>, %1 covers</translation>
    </message>
    <message id="NoImageRequestsLeftTodayResetInTimeX">
        <source>, no image requests left today (reset in %1 h %2 min)</source>
        <translation>, no image requests left today (reset in %1 h %2 min)</translation>
    </message>
    <message id="1ImageRequestLeftToday">
        <source>, 1 image request left today</source>
        <translation>, 1 image request left today</translation>
    </message>
    <message id="NImageRequestsLeftToday">
        <source>, %1 image requests left today</source>
        <translation>, %1 image requests left today</translation>
    </message>
    <message id="QuorlCouldNotQueryDiscogs">
        <source>Quorl could not query Discogs.</source>
        <translation>Quorl could not query Discogs.</translation>
    </message>
    <message id="DiscogsUnavailableAtPresent">
        <source>Discogs is unavailable at present. Please try again later.</source>
        <translation>Discogs is unavailable at present. Please try again later.</translation>
    </message>
    <message id="MakeSureYouAreConnectedToInternet">
        <source>The answer could not be read. Make sure you are connected to the internet.</source>
        <translation>The answer could not be read. Make sure you are connected to the internet.</translation>
    </message>
    <message id="DiscogsNeedsToken">
        <source>Discogs refused the request (401). Set a personal access token in the setting "DISCOGS_TOKEN", e.g. quorl-cli -D DISCOGS_TOKEN=… or in the settings file.</source>
        <translation>Discogs refused the request (401). Set a personal access token in the setting "DISCOGS_TOKEN", e.g. quorl-cli -D DISCOGS_TOKEN=… or in the settings file.</translation>
    </message>
    <message id="DiscogsNotReachedX">
        <source>Discogs could not be reached: %1</source>
        <translation>Discogs could not be reached: %1</translation>
    </message>
    <message id="DiscogsAnsweredStatusX">
        <source>Discogs answered with status %1, so nothing could be looked up.</source>
        <translation>Discogs answered with status %1, so nothing could be looked up.</translation>
    </message>
    <message id="DiscogsAnsweredEmpty">
        <source>Discogs sent an empty answer, so nothing could be looked up.</source>
        <translation>Discogs sent an empty answer, so nothing could be looked up.</translation>
    </message>
    <message id="DiscogsLookupFailed">
        <source>The Discogs lookup failed.</source>
        <translation>The Discogs lookup failed.</translation>
    </message>
    <message id="NoneSelected">
        <source>None selected</source>
        <translation>None selected</translation>
    </message>
    <message id="AreYouSureYouWantToContinueCopying">
        <source>Are you sure you want to continue copying?</source>
        <translation>Are you sure you want to continue copying?</translation>
    </message>
    <message id="TheNumberOfSongsSelectedIsLess">
        <source>Fewer songs are selected than rows are checked; the surplus rows are not used.</source>
        <translation>Fewer songs are selected than rows are checked; the surplus rows are not used.</translation>
    </message>
    <message id="TheNumberOfSongsSelectedIsGreater">
        <source>More songs are selected than rows are checked; the surplus songs keep their values.</source>
        <translation>More songs are selected than rows are checked; the surplus songs keep their values.</translation>
    </message>
    <message id="Continue">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="CliSummaryDiscogs">
        <source>search the online release database, or apply a release found there to the songs and save</source>
        <translation>search the online release database, or apply a release found there to the songs and save</translation>
    </message>
    <message id="CliHelpDiscogsRelease">
        <source>apply the N-th release found (1-based)</source>
        <translation>apply the N-th release found (1-based)</translation>
    </message>
    <message id="CliHelpDiscogsCover">
        <source>apply the release of the N-th cover (1-based; default the first)</source>
        <translation>apply the release of the N-th cover (1-based; default the first)</translation>
    </message>
    <message id="CliHelpDiscogsUncheck">
        <source>leave these rows of the release out (1-based, separated by commas)</source>
        <translation>leave these rows of the release out (1-based, separated by commas)</translation>
    </message>
    <message id="CliDiscogsUsage">
        <source>discogs needs &quot;search TEXT&quot; or &quot;apply TEXT PATH...&quot;; --release and --cover go only with apply, one of them at a time</source>
        <translation>discogs needs &quot;search TEXT&quot; or &quot;apply TEXT PATH...&quot;; --release and --cover go only with apply, one of them at a time</translation>
    </message>
    <message id="CliBadNumber">
        <source>%1 needs a positive whole number</source>
        <translation>%1 needs a positive whole number</translation>
    </message>
    <message id="CliDiscogsNoSuchRelease">
        <source>The search found no such release or cover.</source>
        <translation>The search found no such release or cover.</translation>
    </message>
    <message id="CliSummaryExport">
        <source>write the songs as a tab-separated song list to standard output or a file</source>
        <translation>write the songs as a tab-separated song list to standard output or a file</translation>
    </message>
    <message id="CliSummaryImport">
        <source>apply a tab-separated song list to the songs, row by row, and save</source>
        <translation>apply a tab-separated song list to the songs, row by row, and save</translation>
    </message>
    <message id="CliHelpOptionOutput">
        <source>write the song list to FILE instead of standard output</source>
        <translation>write the song list to FILE instead of standard output</translation>
    </message>
    <message id="CliExportWouldWriteX">
        <source>The song list would be written to %1.</source>
        <translation>The song list would be written to %1.</translation>
    </message>
    <message id="CliMissingTsvFile">
        <source>no song list given: the TSV file comes before the paths</source>
        <translation>no song list given: the TSV file comes before the paths</translation>
    </message>
    <message id="CliTsvPathNotUtf8X">
        <source>the name of the song list is not valid UTF-8: %1</source>
        <translation>the name of the song list is not valid UTF-8: %1</translation>
    </message>
    <message id="CliImportMalformedXY">
        <source>Could not import %1: %2</source>
        <translation>Could not import %1: %2</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message id="MenuFile">
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message id="MenuEdit">
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message id="MenuView">
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message id="MenuTools">
        <source>&amp;Tools</source>
        <translation>&amp;Tools</translation>
    </message>
    <message id="MenuHelp">
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="MenuAdd">
        <source>&amp;Add…</source>
        <translation>&amp;Add…</translation>
    </message>
    <message id="MenuReload">
        <source>&amp;Reload</source>
        <translation>&amp;Reload</translation>
    </message>
    <message id="MenuSave">
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message id="MenuSaveForced">
        <source>Save &amp;Forced</source>
        <translation>Save &amp;Forced</translation>
    </message>
    <message id="MenuRemove">
        <source>Re&amp;move from List</source>
        <translation>Re&amp;move from List</translation>
    </message>
    <message id="MenuClearList">
        <source>&amp;Clear List</source>
        <translation>&amp;Clear List</translation>
    </message>
    <message id="MenuPreferences">
        <source>&amp;Preferences…</source>
        <translation>&amp;Preferences…</translation>
    </message>
    <message id="MenuQuit">
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message id="MenuSelectAll">
        <source>Select &amp;All</source>
        <translation>Select &amp;All</translation>
    </message>
    <message id="MenuClearField">
        <source>Clear &amp;Field</source>
        <translation>Clear &amp;Field</translation>
    </message>
    <message id="MenuClearGenreHistory">
        <source>Clear Genre &amp;History</source>
        <translation>Clear Genre &amp;History</translation>
    </message>
    <message id="MenuLinkArtists">
        <source>&amp;Link Album Artist to Artist</source>
        <translation>&amp;Link Album Artist to Artist</translation>
    </message>
    <message id="MenuRemoveAllPictures">
        <source>Remove All &amp;Pictures</source>
        <translation>Remove All &amp;Pictures</translation>
    </message>
    <message id="MenuEditor">
        <source>&amp;Editor</source>
        <translation>&amp;Editor</translation>
    </message>
    <message id="MenuBrowser">
        <source>&amp;Browser</source>
        <translation>&amp;Browser</translation>
    </message>
    <message id="MenuPreview">
        <source>&amp;Preview</source>
        <translation>&amp;Preview</translation>
    </message>
    <message id="MenuNumbering">
        <source>&amp;Numbering…</source>
        <translation>&amp;Numbering…</translation>
    </message>
    <message id="MenuNaming">
        <source>N&amp;aming…</source>
        <translation>N&amp;aming…</translation>
    </message>
    <message id="MenuCapitalization">
        <source>&amp;Capitalization…</source>
        <translation>&amp;Capitalization…</translation>
    </message>
    <message id="MenuExtraction">
        <source>&amp;Extraction…</source>
        <translation>&amp;Extraction…</translation>
    </message>
    <message id="MenuLyrics">
        <source>&amp;Lyrics…</source>
        <translation>&amp;Lyrics…</translation>
    </message>
    <message id="NoSongsSelected">
        <source>No song selected</source>
        <translation>No song selected</translation>
    </message>
    <message id="OneSongSelected">
        <source>1 song selected</source>
        <translation>1 song selected</translation>
    </message>
    <message id="SeveralSongsSelected">
        <source>Song %1 of %2 selected</source>
        <translation>Song %1 of %2 selected</translation>
    </message>
    <message id="ArtistXTitleY">
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message id="LyricsPreviousSong">
        <source>Previous selected song</source>
        <translation>Previous selected song</translation>
    </message>
    <message id="LyricsNextSong">
        <source>Next selected song</source>
        <translation>Next selected song</translation>
    </message>
    <message id="MenuAddToLibrary">
        <source>Add to Music Library</source>
        <translation>Add to Music Library</translation>
    </message>
    <message id="AddingSongsToLibrary">
        <source>Adding songs to the music library</source>
        <translation>Adding songs to the music library</translation>
    </message>
    <message id="RecommendationToTurnOffCopyingX">
        <source>Some players copy every file they are given into a library folder of their own, and later changes made in Quorl do not reach the copy. If %1 does so, consider turning that off in its settings, so that it plays the files where they are.</source>
        <translation>Some players copy every file they are given into a library folder of their own, and later changes made in Quorl do not reach the copy. If %1 does so, consider turning that off in its settings, so that it plays the files where they are.</translation>
    </message>
    <message id="JustAddThisTime">
        <source>Just Add This Time</source>
        <translation>Just Add This Time</translation>
    </message>
    <message id="ITurnedItOff">
        <source>I Turned It Off</source>
        <translation>I Turned It Off</translation>
    </message>
    <message id="NoPlayerCommandSet">
        <source>No player is set for the music library</source>
        <translation>No player is set for the music library</translation>
    </message>
    <message id="SetPlayerCommandInPreferences">
        <source>Choose a player, or type the command that adds a file to its list, in Preferences under General. %f stands for the file.</source>
        <translation>Choose a player, or type the command that adds a file to its list, in Preferences under General. %f stands for the file.</translation>
    </message>
    <message id="OpenPreferences">
        <source>Open Preferences</source>
        <translation>Open Preferences</translation>
    </message>
    <message id="QuorlCouldNotReachPlayer">
        <source>Quorl could not start the player</source>
        <translation>Quorl could not start the player</translation>
    </message>
    <message id="EnsurePlayerInstalledX">
        <source>Make sure that %1 is installed and that the player command in Preferences is right.</source>
        <translation>Make sure that %1 is installed and that the player command in Preferences is right.</translation>
    </message>
    <message id="QuorlFailedHandingToPlayer">
        <source>Quorl could not hand every song to the player</source>
        <translation>Quorl could not hand every song to the player</translation>
    </message>
    <message id="PlayerRefusedSongsX">
        <source>%1 did not take these songs:</source>
        <translation>%1 did not take these songs:</translation>
    </message>
    <message id="HandOffEndedWithStatusXY">
        <source>%1: ended with status %2</source>
        <translation>%1: ended with status %2</translation>
    </message>
    <message id="HandOffCrashedX">
        <source>%1: the program stopped unexpectedly</source>
        <translation>%1: the program stopped unexpectedly</translation>
    </message>
    <message id="HandOffTimedOutXY">
        <source>%1: no answer within %2 seconds, the second time in a row, so no further songs were handed over. The program was left running, not stopped.</source>
        <translation>%1: no answer within %2 seconds, the second time in a row, so no further songs were handed over. The program was left running, not stopped.</translation>
    </message>
    <message id="HandOffProgramSaidXY">
        <source>%1 (“%2”)</source>
        <translation>%1 (“%2”)</translation>
    </message>
    <message id="GetContactProductSupport">
        <source>If this keeps happening, please write to us.</source>
        <translation>If this keeps happening, please write to us.</translation>
    </message>
    <message id="SendEmail">
        <source>Send Email</source>
        <translation>Send Email</translation>
    </message>
    <message id="HandingSongsToX">
        <source>Handing songs to %1…</source>
        <translation>Handing songs to %1…</translation>
    </message>
    <message id="AddedToLibrary">
        <source>Music library</source>
        <translation>Music library</translation>
    </message>
    <message id="1SongHandedToX">
        <source>1 song handed to %1</source>
        <translation>1 song handed to %1</translation>
    </message>
    <message id="NSongsHandedToY">
        <source>%1 songs handed to %2</source>
        <translation>%1 songs handed to %2</translation>
    </message>
    <message id="StoppedNOfMSongsHandedToX">
        <source>Stopped: %1 of %2 songs handed to %3</source>
        <translation>Stopped: %1 of %2 songs handed to %3</translation>
    </message>
    <message id="PrefLibraryGroup">
        <source>Music library</source>
        <translation>Music library</translation>
    </message>
    <message id="PrefLibraryCommand">
        <source>Player command:</source>
        <translation>Player command:</translation>
    </message>
    <message id="PrefLibraryCommandHint">
        <source>Add to Music Library runs this command once for each selected song; %f stands for the file. The list offers the players found on this computer.</source>
        <translation>Add to Music Library runs this command once for each selected song; %f stands for the file. The list offers the players found on this computer.</translation>
    </message>
    <message id="MenuComposition">
        <source>C&amp;omposition…</source>
        <translation>C&amp;omposition…</translation>
    </message>
    <message id="MenuAbout">
        <source>&amp;About Quorl</source>
        <translation>&amp;About Quorl</translation>
    </message>
    <message id="EnterFullScreen">
        <source>Enter &amp;Full Screen</source>
        <translation>Enter &amp;Full Screen</translation>
    </message>
    <message id="ExitFullScreen">
        <source>Exit &amp;Full Screen</source>
        <translation>Exit &amp;Full Screen</translation>
    </message>
    <message id="ToolBar">
        <source>Tool Bar</source>
        <translation>Tool Bar</translation>
    </message>
    <message id="Columns">
        <source>&amp;Columns</source>
        <translation>&amp;Columns</translation>
    </message>
    <message id="FieldMultipleValues">
        <source>Multiple values</source>
        <translation>Multiple values</translation>
    </message>
    <message id="FieldNoSelection">
        <source>No selection</source>
        <translation>No selection</translation>
    </message>
    <message id="ClearField">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="ClearFieldToolTip">
        <source>Clear this field in every selected song</source>
        <translation>Clear this field in every selected song</translation>
    </message>
    <message id="ClearGenreToolTip">
        <source>Clear the genre of every selected song; with Alt held, clear the genre history instead</source>
        <translation>Clear the genre of every selected song; with Alt held, clear the genre history instead</translation>
    </message>
    <message id="LinkArtists">
        <source>Link album artist to artist</source>
        <translation>Link album artist to artist</translation>
    </message>
    <message id="LinkArtistsToolTip">
        <source>While linked, setting the artist also sets the album artist</source>
        <translation>While linked, setting the artist also sets the album artist</translation>
    </message>
    <message id="CoverPicture">
        <source>Cover picture</source>
        <translation>Cover picture</translation>
    </message>
    <message id="DropCoverHere">
        <source>Drop a picture here</source>
        <translation>Drop a picture here</translation>
    </message>
    <message id="PreviousPicture">
        <source>Previous picture</source>
        <translation>Previous picture</translation>
    </message>
    <message id="NextPicture">
        <source>Next picture</source>
        <translation>Next picture</translation>
    </message>
    <message id="AddPictures">
        <source>Add pictures…</source>
        <translation>Add pictures…</translation>
    </message>
    <message id="RemovePicture">
        <source>Remove this picture from the selected songs</source>
        <translation>Remove this picture from the selected songs</translation>
    </message>
    <message id="ApplyPictureToSelection">
        <source>Give this picture to every selected song</source>
        <translation>Give this picture to every selected song</translation>
    </message>
    <message id="RemoveAllPictures">
        <source>Remove All Pictures</source>
        <translation>Remove All Pictures</translation>
    </message>
    <message id="ChooserSupportedFiles">
        <source>Supported files</source>
        <translation>Supported files</translation>
    </message>
    <message id="Stop">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="ProgressSheetTitle">
        <source>Working</source>
        <translation>Working</translation>
    </message>
    <message id="SearchFieldPlaceholder">
        <source>Search for artist and album</source>
        <translation>Search for artist and album</translation>
    </message>
    <message id="PreviewTitle">
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message id="PreviewTrackX">
        <source>track %1</source>
        <translation>track %1</translation>
    </message>
    <message id="PlayPause">
        <source>Play or pause</source>
        <translation>Play or pause</translation>
    </message>
    <message id="PlaybackUnavailable">
        <source>This computer has no sound output Quorl can use: the song cannot be played here.</source>
        <translation>This computer has no sound output Quorl can use: the song cannot be played here.</translation>
    </message>
    <message id="EmptyTableHint">
        <source>Drop music files or folders here, or choose File › Add…</source>
        <translation>Drop music files or folders here, or choose File › Add…</translation>
    </message>
    <message id="BrowserEmptyHint">
        <source>Releases found online will be listed here.</source>
        <translation>Releases found online will be listed here.</translation>
    </message>
    <message id="MenuSearchInDiscogs">
        <source>Search in Discogs</source>
        <translation>Search in Discogs</translation>
    </message>
    <message id="CheckAll">
        <source>Check All</source>
        <translation>Check All</translation>
    </message>
    <message id="UncheckAll">
        <source>Uncheck All</source>
        <translation>Uncheck All</translation>
    </message>
    <message id="ApplyRelease">
        <source>Apply to Selected Songs</source>
        <translation>Apply to Selected Songs</translation>
    </message>
    <message id="DiscogsRefusedRequest">
        <source>Discogs refused the request.</source>
        <translation>Discogs refused the request.</translation>
    </message>
    <message id="DiscogsTokenInPreferences">
        <source>Enter your Discogs personal access token in Preferences, Online Lookup, then search again.</source>
        <translation>Enter your Discogs personal access token in Preferences, Online Lookup, then search again.</translation>
    </message>
    <message id="AboutX">
        <source>About %1</source>
        <translation>About %1</translation>
    </message>
    <message id="VersionX">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="Copyright">
        <source>Copyright © 2025 the Quorl developers</source>
        <translation>Copyright © 2025 the Quorl developers</translation>
    </message>
    <message id="Preferences">
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message id="PreferencesGeneral">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="PreferencesTags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="PreferencesPictures">
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message id="PreferencesLookup">
        <source>Online Lookup</source>
        <translation>Online Lookup</translation>
    </message>
    <message id="PreferencesColumns">
        <source>Columns</source>
        <translation>Columns</translation>
    </message>
    <message id="PrefSingleClickToEdit">
        <source>A single click on a cell of the song table edits it</source>
        <translation>A single click on a cell of the song table edits it</translation>
    </message>
    <message id="PrefRestorePanels">
        <source>Reopen the tool panels that were open at the last quit</source>
        <translation>Reopen the tool panels that were open at the last quit</translation>
    </message>
    <message id="PrefBindAlbumArtist">
        <source>Setting the artist also sets the album artist</source>
        <translation>Setting the artist also sets the album artist</translation>
    </message>
    <message id="PrefBindCompilation">
        <source>Setting the album artist to various artists marks a compilation</source>
        <translation>Setting the album artist to various artists marks a compilation</translation>
    </message>
    <message id="PrefWindowsFileNames">
        <source>Make file names valid on Windows file systems too</source>
        <translation>Make file names valid on Windows file systems too</translation>
    </message>
    <message id="PrefWriteId3v23">
        <source>Write ID3v2.3 tags to MP3 files (instead of ID3v2.4)</source>
        <translation>Write ID3v2.3 tags to MP3 files (instead of ID3v2.4)</translation>
    </message>
    <message id="PrefWriteId3v1">
        <source>Keep an ID3v1 tag in MP3 files</source>
        <translation>Keep an ID3v1 tag in MP3 files</translation>
    </message>
    <message id="PrefLeadingZero">
        <source>Track numbers with a leading zero</source>
        <translation>Track numbers with a leading zero</translation>
    </message>
    <message id="PrefScaleImages">
        <source>Scale pictures down when they are added or saved</source>
        <translation>Scale pictures down when they are added or saved</translation>
    </message>
    <message id="PrefMaxPixelSize">
        <source>Largest size:</source>
        <translation>Largest size:</translation>
    </message>
    <message id="PrefCdsOnly">
        <source>Search for CD releases only</source>
        <translation>Search for CD releases only</translation>
    </message>
    <message id="PrefAllInOneAfterApply">
        <source>Number, capitalize and name the songs after applying a release</source>
        <translation>Number, capitalize and name the songs after applying a release</translation>
    </message>
    <message id="PrefLookupToken">
        <source>Personal access token:</source>
        <translation>Personal access token:</translation>
    </message>
    <message id="PrefColumnsShown">
        <source>The song table shows these columns:</source>
        <translation>The song table shows these columns:</translation>
    </message>
    <message id="MenuSearchInStore">
        <source>Search in Store</source>
        <translation>Search in Store</translation>
    </message>
    <message id="MenuShowInFileManager">
        <source>Show in File Manager</source>
        <translation>Show in File Manager</translation>
    </message>
    <message id="MenuSendFeedback">
        <source>Send Feedback…</source>
        <translation>Send Feedback…</translation>
    </message>
    <message id="MenuPrivacyPolicy">
        <source>Privacy Policy</source>
        <translation>Privacy Policy</translation>
    </message>
    <message id="QuorlFeedback">
        <source>Quorl Feedback</source>
        <translation>Quorl Feedback</translation>
    </message>
    <message id="NumberingPanel">
        <source>Numbering</source>
        <translation>Numbering</translation>
    </message>
    <message id="NamingPanel">
        <source>Naming</source>
        <translation>Naming</translation>
    </message>
    <message id="CapitalizationPanel">
        <source>Capitalization</source>
        <translation>Capitalization</translation>
    </message>
    <message id="ExtractionPanel">
        <source>Extraction</source>
        <translation>Extraction</translation>
    </message>
    <message id="LyricsPanel">
        <source>Lyrics</source>
        <translation>Lyrics</translation>
    </message>
    <message id="CompositionPanel">
        <source>Composition</source>
        <translation>Composition</translation>
    </message>
    <message id="Apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="Done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="CustomPatternTitle">
        <source>Custom Pattern</source>
        <translation>Custom Pattern</translation>
    </message>
    <message id="CustomPatternHint">
        <source>Type text and click the fields to insert them. Hold Alt to apply the pattern without closing.</source>
        <translation>Type text and click the fields to insert them. Hold Alt to apply the pattern without closing.</translation>
    </message>
    <message id="PatternFieldUndo">
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message id="PatternFieldRedo">
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message id="PatternFieldCut">
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message id="PatternFieldCopy">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="PatternFieldPaste">
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message id="PatternFieldDelete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="RenamePreviewUnchanged">
        <source>Keeps its name</source>
        <translation>Keeps its name</translation>
    </message>
    <message id="RenamePreviewRenamed">
        <source>Renamed</source>
        <translation>Renamed</translation>
    </message>
    <message id="RenamePreviewCaseOnly">
        <source>Only the letter case changes</source>
        <translation>Only the letter case changes</translation>
    </message>
    <message id="RenamePreviewCollisionX">
        <source>“%1” gets the same name first: this file keeps its name</source>
        <translation>“%1” gets the same name first: this file keeps its name</translation>
    </message>
    <message id="RenamePreviewExists">
        <source>Another file has this name: this file keeps its name</source>
        <translation>Another file has this name: this file keeps its name</translation>
    </message>
    <message id="RenamePreviewInvalid">
        <source>Nothing usable is left of the name: this file keeps its name</source>
        <translation>Nothing usable is left of the name: this file keeps its name</translation>
    </message>
    <message id="RenamePreviewTooLong">
        <source>The name is too long for this folder: this file keeps its name</source>
        <translation>The name is too long for this folder: this file keeps its name</translation>
    </message>
    <message id="RenamePreviewFailed">
        <source>The file is gone or its folder cannot be written</source>
        <translation>The file is gone or its folder cannot be written</translation>
    </message>
    <message id="RenamePreviewNotNamed">
        <source>A value the name needs is missing: no new name from this tool</source>
        <translation>A value the name needs is missing: no new name from this tool</translation>
    </message>
    <message id="RenamePreviewNotRenamable">
        <source>This file may not be renamed</source>
        <translation>This file may not be renamed</translation>
    </message>
    <message id="RenamePreviewTitle">
        <source>Rename Preview</source>
        <translation>Rename Preview</translation>
    </message>
    <message id="RenamePreviewOldName">
        <source>Current Name</source>
        <translation>Current Name</translation>
    </message>
    <message id="RenamePreviewNewName">
        <source>New Name</source>
        <translation>New Name</translation>
    </message>
    <message id="RenamePreviewStatus">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="RenamePreviewSummaryXY">
        <source>%1 of %2 files get a new name.</source>
        <translation>%1 of %2 files get a new name.</translation>
    </message>
    <message id="RenamePreviewFlaggedX">
        <source>Marked rows need a look (%1): they keep their name or are skipped.</source>
        <translation>Marked rows need a look (%1): they keep their name or are skipped.</translation>
    </message>
    <message id="RenamePreviewNote">
        <source>Files are renamed when the songs are saved. No file is ever replaced.</source>
        <translation>Files are renamed when the songs are saved. No file is ever replaced.</translation>
    </message>
    <message id="RenamePreviewApply">
        <source>Apply Names</source>
        <translation>Apply Names</translation>
    </message>
    <message id="NamingArtistAndTitle">
        <source>Artist – Title</source>
        <translation>Artist – Title</translation>
    </message>
    <message id="NamingTrackAndTitle">
        <source>Track – Title</source>
        <translation>Track – Title</translation>
    </message>
    <message id="NamingTrackArtistAndTitle">
        <source>Track – Artist – Title</source>
        <translation>Track – Artist – Title</translation>
    </message>
    <message id="NamingCustom">
        <source>Custom:</source>
        <translation>Custom:</translation>
    </message>
    <message id="NamingSeparateByHyphen">
        <source>Separate by hyphen</source>
        <translation>Separate by hyphen</translation>
    </message>
    <message id="NamingRename">
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message id="NamingSchemeLabel">
        <source>Name files as</source>
        <translation>Name files as</translation>
    </message>
    <message id="MenuAllInOne">
        <source>All in One</source>
        <translation>All in One</translation>
    </message>
    <message id="NumberingHint">
        <source>Numbers the selected songs in the order of the table.</source>
        <translation>Numbers the selected songs in the order of the table.</translation>
    </message>
    <message id="NumberingLeadingZero">
        <source>Leading zeros (01, 02, …)</source>
        <translation>Leading zeros (01, 02, …)</translation>
    </message>
    <message id="NumberingTrackCount">
        <source>Add the number of tracks (01/12)</source>
        <translation>Add the number of tracks (01/12)</translation>
    </message>
    <message id="NumberingApply">
        <source>Number Tracks</source>
        <translation>Number Tracks</translation>
    </message>
    <message id="CapitalizationMode">
        <source>Change the text fields to</source>
        <translation>Change the text fields to</translation>
    </message>
    <message id="CapitalizationTitleCase">
        <source>Title Case</source>
        <translation>Title Case</translation>
    </message>
    <message id="CapitalizationUpperCase">
        <source>UPPER CASE</source>
        <translation>UPPER CASE</translation>
    </message>
    <message id="CapitalizationLowerCase">
        <source>lower case</source>
        <translation>lower case</translation>
    </message>
    <message id="CapitalizationSmallWords">
        <source>Capitalize small words too (of, the, and …)</source>
        <translation>Capitalize small words too (of, the, and …)</translation>
    </message>
    <message id="CapitalizationAltHint">
        <source>Hold Alt while applying title case to keep the capitals inside words (eMix, AB/CD).</source>
        <translation>Hold Alt while applying title case to keep the capitals inside words (eMix, AB/CD).</translation>
    </message>
    <message id="CapitalizationApply">
        <source>Capitalize</source>
        <translation>Capitalize</translation>
    </message>
    <message id="ExtractionScheme">
        <source>Read the names as</source>
        <translation>Read the names as</translation>
    </message>
    <message id="ExtractTrackAndTitle">
        <source>Track Title</source>
        <translation>Track Title</translation>
    </message>
    <message id="ExtractTrackArtistAndTitle">
        <source>Track - Artist - Title</source>
        <translation>Track - Artist - Title</translation>
    </message>
    <message id="ExtractCustom">
        <source>Custom pattern</source>
        <translation>Custom pattern</translation>
    </message>
    <message id="ExtractionSourceLabel">
        <source>Read from</source>
        <translation>Read from</translation>
    </message>
    <message id="ExtractionApply">
        <source>Extract Tags</source>
        <translation>Extract Tags</translation>
    </message>
    <message id="ExtractionNeighbouringTokens">
        <source>Two fields next to each other need at least one character between them.</source>
        <translation>Two fields next to each other need at least one character between them.</translation>
    </message>
    <message id="CompositionScheme">
        <source>Compose</source>
        <translation>Compose</translation>
    </message>
    <message id="ComposeTitleAndTrack">
        <source>Title and track number into the title</source>
        <translation>Title and track number into the title</translation>
    </message>
    <message id="ComposeCustom">
        <source>Custom pattern</source>
        <translation>Custom pattern</translation>
    </message>
    <message id="CompositionTargetLabel">
        <source>Write into</source>
        <translation>Write into</translation>
    </message>
    <message id="CompositionApply">
        <source>Compose</source>
        <translation>Compose</translation>
    </message>
    <message id="PanelEditCustom">
        <source>Edit…</source>
        <translation>Edit…</translation>
    </message>
    <message id="MenuExportTsv">
        <source>&amp;Export Selection as Song List…</source>
        <translation>&amp;Export Selection as Song List…</translation>
    </message>
    <message id="MenuImportTsv">
        <source>&amp;Import Song List…</source>
        <translation>&amp;Import Song List…</translation>
    </message>
</context>
</TS>
