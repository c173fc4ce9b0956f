-- Batch report preparation: the statuses report preparation records, the
-- claim of the batch driver (zelka-batch) and the calls that queue reports.
--
-- Several drivers, on one machine or many, share one database. A driver
-- claims one waiting report at a time: the row is locked (rows other drivers
-- hold are skipped) and given a lease with a deadline. A report whose lease
-- ran out (its driver died or hung) is claimed again, up to a cap on the
-- attempts; then it is given up with status 20.

insert into statuses (id, description) values
    (1, 'Waiting'),
    (2, 'Preparation started'),
    (3, 'Plotted'),
    (4, 'Drawing file does not exist'),
    (8, 'Output folder did not exist at plot time'),
    (10, 'Output path is not an existing folder'),
    (11, 'Output file name is not valid'),
    (12, 'Copy of the drawing not saved'),
    (13, 'XML copy of the report not written'),
    (20, 'Given up by the batch driver')
on conflict (id) do update set description = excluded.description;

alter table graphic_reports
    add column if not exists batch_worker      varchar(255),
    add column if not exists batch_lease_until timestamptz,
    add column if not exists batch_attempts    integer not null default 0,
    add column if not exists batch_error       text;
create index if not exists graphic_reports_status on graphic_reports (status_id);

-- One report for p_worker: a waiting one, or one whose lease ran out with
-- attempts left. Reports whose lease ran out with no attempts left are given
-- up first. No row when there is nothing to claim.
create or replace function __gr_claimGraphicReport(
    p_status_id integer, p_worker varchar, p_lease_seconds integer, p_max_attempts integer)
returns table (grid integer, grattempt integer)
language plpgsql as $$
declare
    v_id integer;
begin
    update graphic_reports g
       set status_id = 20, batch_lease_until = null,
           batch_error = 'given up after ' || g.batch_attempts || ' attempt(s): the driver preparing it ('
                         || coalesce(g.batch_worker, '?') || ') stopped before it finished'
     where g.id in (select d.id from graphic_reports d
                     where d.batch_lease_until < clock_timestamp() and d.batch_attempts >= p_max_attempts
                       for update skip locked);
    select g.id into v_id
      from graphic_reports g
     where (g.status_id = p_status_id and g.batch_lease_until is null)
        or (g.batch_lease_until < clock_timestamp() and g.batch_attempts < p_max_attempts)
     order by g.id
       for update skip locked
     limit 1;
    if v_id is null then
        return;
    end if;
    update graphic_reports g
       set batch_worker = p_worker, batch_attempts = g.batch_attempts + 1, batch_error = null,
           batch_lease_until = clock_timestamp() + make_interval(secs => p_lease_seconds)
     where g.id = v_id;
    return query select g.id, g.batch_attempts from graphic_reports g where g.id = v_id;
end $$;

-- The end of a claim. Without an error and with a final status recorded the
-- lease is released. Otherwise (an error, or the preparation stopped with
-- the report still waiting or started) the report waits again, or is given
-- up with status 20 once its attempts are used up. A claim that another
-- driver has taken over in the meantime is left alone. Returns the status.
create or replace function __gr_finishGraphicReport(
    p_graphic_report_id integer, p_worker varchar, p_error varchar, p_max_attempts integer,
    p_waiting_status integer)
returns table (grstatusid integer)
language plpgsql as $$
begin
    update graphic_reports g
       set batch_lease_until = null,
           status_id = case
               when coalesce(p_error, '') = '' and g.status_id not in (p_waiting_status, 2) then g.status_id
               when g.batch_attempts >= p_max_attempts then 20
               else p_waiting_status end,
           batch_error = case
               when coalesce(p_error, '') = '' and g.status_id not in (p_waiting_status, 2) then null
               else coalesce(nullif(p_error, ''), 'the preparation stopped before a status was recorded') end
     where g.id = p_graphic_report_id and g.batch_worker = p_worker and g.batch_lease_until is not null;
    return query select g.status_id::integer from graphic_reports g where g.id = p_graphic_report_id;
end $$;

-- The reports in each status, and how many are claimed right now.
create or replace function __gr_getBatchSummary()
returns table (grstatusid integer, grdescription varchar, grreports integer, grclaimed integer)
language sql stable as $$
    select g.status_id::integer, coalesce(s.description, ''), count(*)::integer,
           count(*) filter (where g.batch_lease_until is not null)::integer
      from graphic_reports g left join statuses s on s.id = g.status_id
     group by g.status_id, s.description
     order by g.status_id
$$;

-- Queuing reports ---------------------------------------------------------------

create or replace function __gr_addGraphicReport(
    p_status_id integer, p_title varchar, p_drawing_path varchar, p_drawing_filename varchar,
    p_plot_layout varchar, p_plot_type_id integer, p_plot_area_type_id integer, p_plot_media_size_id integer,
    p_plot_scale_type_id integer, p_plot_centred boolean, p_output_path varchar, p_output_filename varchar,
    p_save_copy_to varchar, p_xml_output_to varchar, p_total_child_areas numeric)
returns table (grid integer)
language sql as $$
    insert into graphic_reports (status_id, title, drawing_path, drawing_filename, plot_layout, plot_type_id,
                                 plot_area_type_id, plot_media_size_id, plot_scale_type_id, plot_centred,
                                 output_path, output_filename, save_copy_to, xml_output_to, total_child_areas)
    values (p_status_id, coalesce(p_title, ''), coalesce(p_drawing_path, ''), coalesce(p_drawing_filename, ''),
            coalesce(p_plot_layout, ''), p_plot_type_id, p_plot_area_type_id, p_plot_media_size_id,
            p_plot_scale_type_id, coalesce(p_plot_centred, true), coalesce(p_output_path, ''),
            coalesce(p_output_filename, ''), coalesce(p_save_copy_to, ''), coalesce(p_xml_output_to, ''),
            coalesce(p_total_child_areas, 0))
    returning id
$$;

create or replace function __gr_addReportCategory(
    p_graphic_report_id integer, p_sort_order integer, p_title varchar, p_hatch_pattern varchar,
    p_hatch_angle numeric, p_hatch_colour varchar, p_hatch_scale numeric, p_hatch_layer varchar)
returns table (cid integer)
language sql as $$
    insert into report_categories (graphic_report_id, sort_order, title, hatch_pattern, hatch_angle, hatch_colour,
                                   hatch_scale, hatch_layer)
    values (p_graphic_report_id, p_sort_order, coalesce(p_title, ''), coalesce(p_hatch_pattern, ''),
            coalesce(p_hatch_angle, 0), coalesce(nullif(p_hatch_colour, ''), '#FF0000'), coalesce(p_hatch_scale, 1),
            coalesce(p_hatch_layer, ''))
    returning id
$$;

create or replace function __gr_addCategoryBlock(
    p_category_id integer, p_sort_order integer, p_handle varchar, p_name varchar, p_code varchar,
    p_area numeric, p_swap_name varchar, p_swap_area varchar, p_swap_aux varchar)
returns void language sql as $$
    insert into category_blocks (category_id, sort_order, handle, name, code, area, swap_name, swap_area, swap_aux)
    values (p_category_id, p_sort_order, p_handle, coalesce(p_name, ''), coalesce(p_code, ''), p_area,
            coalesce(p_swap_name, ''), coalesce(p_swap_area, ''), coalesce(p_swap_aux, ''))
$$;

create or replace function __gr_addReportLayerOn(
    p_graphic_report_id integer, p_sort_order integer, p_name varchar, p_description varchar)
returns void language sql as $$
    insert into report_layers_on (graphic_report_id, sort_order, name, description)
    values (p_graphic_report_id, p_sort_order, p_name, coalesce(p_description, ''))
$$;

create or replace function __gr_addReportLinkLine(
    p_graphic_report_id integer, p_sort_order integer, p_start_handle varchar, p_end_handle varchar,
    p_layer_name varchar, p_label_text varchar)
returns void language sql as $$
    insert into report_link_lines (graphic_report_id, sort_order, start_handle, end_handle, layer_name, label_text)
    values (p_graphic_report_id, p_sort_order, p_start_handle, p_end_handle, coalesce(p_layer_name, ''),
            coalesce(p_label_text, ''))
$$;
